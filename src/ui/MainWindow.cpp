// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "ui/CommandPlace.h"
#include "ui/DialogPlacement.h"
#include "ui/EntryEditor.h"
#include "ui/EntryListView.h"
#include "ui/FileDialog.h"
#include "ui/FindBar.h"
#include "ui/ProjectPanel.h"
#include "ui/TranslationPanel.h"
#include "ui/LimitedLineEdit.h"
#include "ui/LongTaskDialog.h"
#include "ui/MainLayout.h"
#include "ui/MainToolbar.h"
#include "ui/MenuTree.h"
#include "ui/MessageDialog.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"
#include "ui/WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

// The images are compiled into this static library; registering them here
// also keeps the linker from dropping them.
static void registerArtwork()
{
    Q_INIT_RESOURCE(artwork);
}

namespace wendaro {

namespace {

constexpr int FieldTypingLimit = 255;

} // namespace

MainWindow::MainWindow(CodePage codePage, WindowServices &services, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_controller(*this, std::move(codePage))
{
    registerArtwork();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ApplicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/wendaro/wendaro.png")));
    setContextMenuPolicy(Qt::PreventContextMenu);

    m_popup = buildMenuTree(*menuBar(), *this, m_controller.actions());
    buildClientArea();
    connectControls();
    followController();

    const QSize client = pixelSize(MainGeometry::ClientWidth, MainGeometry::ClientHeight);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow()
{
    // The list's model reads the controller's rows: it goes before them.
    delete m_client;
}

void MainWindow::buildClientArea()
{
    using namespace MainGeometry;
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    m_toolbar = new MainToolbar(m_controller.actions(), m_client);
    m_toolbar->setGeometry(pixelRect(0, 0, ClientWidth, ToolbarHeight));

    m_list = new EntryListView(m_controller.entries(), m_controller.model(), m_controller.selection(), m_client);
    m_list->setFont(windowFont());
    m_list->setGeometry(pixelRect(0, ListTop, ClientWidth, ClientHeight - ListHeightReserve));

    m_cmdFile = new QPushButton(QStringLiteral(">File"), m_client);
    m_cmdFile->setObjectName(QStringLiteral("cmdFile"));
    m_cmdFile->setFont(windowFont());
    m_cmdFile->setAutoDefault(false);
    m_cmdFile->setGeometry(pixelRect(FieldColumnLeft, FileRowTop, FieldColumnWidth, ButtonHeight));

    m_txtFile = new LimitedLineEdit(FieldTypingLimit, m_client);
    m_txtFile->setObjectName(QStringLiteral("txtFile"));
    m_txtFile->setFont(windowFont());
    m_txtFile->setGeometry(pixelRect(FieldLeft, FileRowTop, ClientWidth - FieldLeft, FieldHeight));

    m_txtMemo = new LimitedLineEdit(FieldTypingLimit, m_client);
    m_txtMemo->setObjectName(QStringLiteral("txtMemo"));
    m_txtMemo->setFont(windowFont());
    m_txtMemo->setGeometry(pixelRect(FieldLeft, MemoRowTop, ClientWidth - FieldLeft, FieldHeight));

    m_statusBar = new QStatusBar(m_client);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setFont(statusBarFont());
    m_pathPanel = new QLabel(m_statusBar);
    m_pathPanel->setObjectName(QStringLiteral("Panel1"));
    m_pathPanel->setTextFormat(Qt::PlainText);
    m_pathPanel->setFont(statusBarFont());
    // A long path must not widen the window.
    m_pathPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_statusBar->addWidget(m_pathPanel, 1);
    m_statusBar->setGeometry(pixelRect(0, ClientHeight - StatusBarHeight, ClientWidth, StatusBarHeight));

    m_label1 = new QLabel(QStringLiteral(">//"), m_client);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setTextFormat(Qt::PlainText);
    m_label1->setFont(windowFont());
    m_label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_label1->setGeometry(pixelRect(FieldColumnLeft, MemoRowTop, FieldColumnWidth, LabelHeight));

    m_findBar = new FindBar(m_controller, *m_list, m_client);
    connect(m_findBar, &FindBar::openedOrClosed, this, &MainWindow::layOut);
    m_translationPanel = new TranslationPanel(m_controller, m_client);
    connect(m_translationPanel, &TranslationPanel::openedOrClosed, this, &MainWindow::layOut);
    connect(&m_controller.translationStatus(), &TranslationStatus::openChanged, this, &MainWindow::layOut);
    m_projectPanel = new ProjectPanel(m_controller.project(), m_client);
    connect(m_projectPanel, &ProjectPanel::openedOrClosed, this, &MainWindow::layOut);

    setTabOrder(m_list, m_cmdFile);
    setTabOrder(m_cmdFile, m_txtFile);
    setTabOrder(m_txtFile, m_txtMemo);
}

void MainWindow::connectControls()
{
    placeCommand(*m_cmdFile, m_controller.action(Command::ChooseOutput));
    connect(&m_controller.action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    // Translation's keys work anywhere in the window, the list and the
    // translation field included.
    for (Command command : {Command::OpenOriginal, Command::OpenOldOriginal, Command::AcceptAndNext, Command::NextToDo,
                            Command::PreviousToDo, Command::CopyOriginal, Command::AddMissing, Command::OpenMemory,
                            Command::UseSuggestion1, Command::UseSuggestion2, Command::UseSuggestion3,
                            Command::UseSuggestion4, Command::UseSuggestion5, Command::OpenGlossary,
                            Command::OpenProject, Command::NextTable, Command::PreviousTable})
        addAction(&m_controller.action(command));
    // No file, nothing to find.
    connect(&m_controller.action(Command::Close), &QAction::enabledChanged, this, [this](bool enabled) {
        if (!enabled)
            m_findBar->closeBar();
    });
    for (Field which : {Field::File, Field::Memo}) {
        LimitedLineEdit *edit = field(which);
        connect(edit, &QLineEdit::textChanged, this,
                [this, which](const QString &text) { m_controller.setFieldText(which, text); });
        connect(edit, &LimitedLineEdit::entered, this, [this, edit] {
            // Selects up to the typing limit, as the field's maximum length.
            edit->setSelection(0, edit->typingLimit());
            m_controller.fieldFocused();
        });
    }
    connect(m_list, &EntryListView::itemClicked, this, [this] { m_controller.itemClicked(); });
    connect(m_list, &EntryListView::listDoubleClicked, this, [this] { m_controller.itemDoubleClicked(); });
    connect(m_list, &EntryListView::columnClicked, this, [this](int column) { m_controller.columnClicked(column); });
    connect(m_list, &EntryListView::listKeyPressed, this, &MainWindow::listKeyPressed);
    connect(m_list, &EntryListView::contextMenuRequested, this,
            [this](const QPoint &globalPosition) { m_popup->popup(globalPosition); });
    // Opened after the drop has finished, so that the save prompt and the
    // load's messages do not run inside the desktop's drag and drop.
    connect(
        m_list, &EntryListView::filesDropped, this,
        [this](const QStringList &paths, bool firstPathBytesValid) {
            m_controller.dropFiles(paths, firstPathBytesValid);
        },
        Qt::QueuedConnection);
}

void MainWindow::followController()
{
    for (Field which : {Field::File, Field::Memo})
        fieldEnabledChanged(which, m_controller.isFieldEnabled(which));
    fieldTextChanged(Field::File, m_controller.fieldText(Field::File));
    fieldTextChanged(Field::Memo, m_controller.fieldText(Field::Memo));
    currentPathChanged(m_controller.currentPath());
}

LimitedLineEdit *MainWindow::field(Field which) const
{
    return which == Field::File ? m_txtFile : m_txtMemo;
}

void MainWindow::startUp(const QString &path, bool pathBytesValid, LoadAhead *ahead)
{
    m_controller.startUp(path, pathBytesValid, ahead);
}

void MainWindow::listKeyPressed(ListKey key)
{
    m_controller.action(commandOf(key)).trigger();
}

void MainWindow::layOut()
{
    using namespace MainGeometry;
    const float w = twipsFromPixels(m_client->width());
    const float h = twipsFromPixels(m_client->height());
    const MainLayout layout = mainLayoutFor(w, h);
    m_txtFile->resize(pixelsFromTwips(layout.fieldWidth), m_txtFile->height());
    m_txtMemo->resize(pixelsFromTwips(layout.fieldWidth), m_txtMemo->height());
    float listHeight = layout.listHeight;
    // A project's tables stand at the left of the list and what lies under it.
    const int left = m_projectPanel->isHidden() ? 0 : ProjectPanel::wantedWidth(m_client->width());
    const int width = m_client->width() - left;
    if (left > 0)
        m_projectPanel->setGeometry(0, pixelsFromTwips(ListTop), left, pixelsFromTwips(listHeight));
    if (!m_findBar->isHidden()) {
        const FindBarPlace place = findBarPlaceFor(layout, twipsFromPixels(m_findBar->sizeHint().height()));
        listHeight = place.listHeight;
        m_findBar->setGeometry(left, pixelsFromTwips(place.barTop), width, pixelsFromTwips(place.barHeight));
    }
    // The translation panel lies between the list and the find bar.
    if (!m_translationPanel->isHidden()) {
        const int panel = m_translationPanel->wantedHeight(pixelsFromTwips(listHeight));
        listHeight -= twipsFromPixels(panel);
        m_translationPanel->setGeometry(left, pixelsFromTwips(ListTop + listHeight), width, panel);
    }
    m_list->setGeometry(left, m_list->y(), pixelsFromTwips(layout.listWidth) - left, pixelsFromTwips(listHeight));
    // The toolbar and the status bar are docked to the top and bottom edges.
    m_toolbar->resize(m_client->width(), m_toolbar->height());
    m_statusBar->setGeometry(0, m_client->height() - m_statusBar->height(), m_client->width(), m_statusBar->height());
}

void MainWindow::applyFocusRule()
{
    m_list->setFocus(Qt::ActiveWindowFocusReason);
    m_controller.windowActivated();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        layOut();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        applyFocusRule();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_controller.queryClose())
        event->accept();
    else
        event->ignore();
}

MessageAnswer MainWindow::showMessage(const wendaro::MessageBox &box)
{
    QWidget *owner = QApplication::activeModalWidget();
    MessageDialog dialog(box, owner ? owner : this);
    m_services.runModal(dialog);
    return dialog.answer();
}

std::optional<QString> MainWindow::showFileDialog(const FileDialogRequest &request)
{
    FileDialog dialog(request, m_services, this);
    if (m_services.runModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    const QString path = dialog.chosenPath();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QStringList MainWindow::showOpenFilesDialog(const FileDialogRequest &request)
{
    FileDialog dialog(request, m_services, this);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (m_services.runModal(dialog) != QDialog::Accepted)
        return {};
    QStringList paths = dialog.selectedFiles();
    for (QString &path : paths)
        path = QDir::toNativeSeparators(path);
    return paths;
}

std::optional<QString> MainWindow::chooseItem(const QString &title, const QString &label, const QStringList &items)
{
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgChoice"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (m_services.runModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void MainWindow::showEntryEditor(const EditorFill &fill)
{
    {
        EntryEditor editor(
            fill,
            [this](EditMode mode, const QString &index, const QString &name, const QString &value) {
                return m_controller.acceptEditor(mode, index, name, value);
            },
            this);
        editor.placeOver(*this);
        m_services.runModal(editor);
    }
    // The main window is the active window again.
    applyFocusRule();
}

bool MainWindow::startDetached(const QString &program, const QStringList &arguments)
{
    return m_services.startDetached(program, arguments);
}

bool MainWindow::openWithDefaultViewer(const QString &path)
{
    return m_services.openWithDefaultViewer(path);
}

void MainWindow::runLongTask(const QString &label, const std::function<void(LoadProgress &)> &task)
{
    runWithProgressDialog(this, label, task);
}

QString MainWindow::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void MainWindow::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void MainWindow::fieldEnabledChanged(Field which, bool enabled)
{
    field(which)->setEnabled(enabled);
}

void MainWindow::fieldTextChanged(Field which, const QString &text)
{
    LimitedLineEdit *edit = field(which);
    if (edit->text() != text)
        edit->setProgramText(text);
}

void MainWindow::showStatus(const QString &text)
{
    // Beside the path, which a temporary message would hide; it stays.
    auto *notice = new QLabel(text, m_statusBar);
    notice->setFont(statusBarFont());
    m_statusBar->addPermanentWidget(notice);
}

void MainWindow::currentPathChanged(const QString &path)
{
    m_pathPanel->setText(path);
}

} // namespace wendaro
