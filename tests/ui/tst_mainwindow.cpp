// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "ui/ApplicationSetup.h"
#include "ui/MainToolbar.h"

#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QWidgetAction>

using namespace wendaro;

namespace {

// Types the path into the file dialog's name field, having clicked there, and accepts.
void typePath(QDialog &dialog, const QString &path)
{
    auto *nameEdit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(nameEdit);
    nameEdit->setFocus();
    nameEdit->setText(path);
    dialog.accept();
}

ScriptedServices::Step choose(const QString &path)
{
    return [path](QDialog &dialog) { typePath(dialog, path); };
}

QToolButton *toolButton(WindowFixture &f, const QString &key)
{
    auto *toolbar = child<QToolBar>(f.window, QStringLiteral("Toolbar1"));
    return qobject_cast<QToolButton *>(toolbar->widgetForAction(&f.action(key)));
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void menuTree_data();
    void menuTree();
    void menuBarOrder();
    void toolbarPositions_data();
    void toolbarPositions();
    void commandReachesProcedure_data();
    void commandReachesProcedure();
    void fileKeysFollowTheirCommand();
    void everyPlaceRaisesItsCommand();
    void savePromptOnClose_data();
    void savePromptOnClose();
    void failedLoadShowsControllerState();
    void failedSaveShowsControllerState();
    void fileDialogSetUp_data();
    void fileDialogSetUp();
    void saveAsNameTakesTheFilterExtension_data();
    void saveAsNameTakesTheFilterExtension();
    void outputChoiceAcceptsNewNameInExistingFolder();
    void outputChoiceRefusesMissingFolder();
    void readmeBesideProgram();
    void startUpWithMissingFile();
    void optionsAnswerWithoutDisplay_data();
    void optionsAnswerWithoutDisplay();
    void titlesGetNoApplicationName();
};

void MainWindowTest::menuTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // empty: a separator
    QTest::addColumn<QString>("parent");
    const auto row = [](const char *name, const QString &caption, const char *parent) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << QString::fromLatin1(parent);
    };
    row("mFiles_New", "新規作成(&N)", "mFiles");
    row("mFiles_Open", "開く(&O)", "mFiles");
    row("mFiles_Close", "閉じる(&C)", "mFiles");
    row("mSep00", QString(), "mFiles");
    row("mFiles_Save", "上書保存(&S)", "mFiles");
    row("mFiles_SaveAs", "名前を付けて保存(&A)", "mFiles");
    row("mSep01", QString(), "mFiles");
    row("mFiles_Exit", "終了(&X)", "mFiles");
    row("mEdit_Add", "追加(&A)", "mEdit");
    row("mEdit_Edit", "編集(&E)", "mEdit");
    row("mEdit_Remove", "削除(&R)", "mEdit");
    row("mHelp_Version", "バージョン情報(&A)", "mHelp");
    row("mPopup_Add", "追加(&A)", "mPopup");
    row("mPopup_Edit", "編集(&E)", "mPopup");
    row("mPopup_Remove", "削除(&R)", "mPopup");
}

void MainWindowTest::menuTree()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parent);
    WindowFixture f;
    auto *menu = child<QMenu>(f.window, parent);
    QVERIFY(menu);
    QAction &action = f.action(name);
    QVERIFY(menu->actions().contains(&action));
    QCOMPARE(action.isSeparator(), caption.isEmpty());
    QCOMPARE(action.text(), caption);
    QVERIFY(action.shortcuts().isEmpty());
}

void MainWindowTest::menuBarOrder()
{
    WindowFixture f;
    QStringList shown;
    for (QAction *top : f.window.menuBar()->actions())
        shown << top->text();
    QCOMPARE(shown, (QStringList{"ファイル(&F)", "編集(&E)", "ヘルプ(&H)"}));
    // The context menu is never in the menu bar.
    QCOMPARE(child<QMenu>(f.window, QStringLiteral("mPopup"))->title(), QStringLiteral("ポップアップ"));
    QVERIFY(!f.window.menuBar()->actions().contains(child<QMenu>(f.window, QStringLiteral("mPopup"))->menuAction()));
}

void MainWindowTest::toolbarPositions_data()
{
    // clang-format off
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key"); // empty: the placeholder gap
    QTest::addColumn<QString>("caption");
    QTest::newRow("1 New") << 1 << "New" << "新規作成";
    QTest::newRow("2 Open") << 2 << "Open" << "開く";
    QTest::newRow("3 Save") << 3 << "Save" << "上書保存";
    QTest::newRow("4 Close") << 4 << "Close" << "閉じる";
    QTest::newRow("5 gap") << 5 << QString() << QString();
    QTest::newRow("6 Add") << 6 << "Add" << "追加";
    QTest::newRow("7 Edit") << 7 << "Edit" << "編集";
    QTest::newRow("8 Remove") << 8 << "Remove" << "削除";
    // clang-format on
}

void MainWindowTest::toolbarPositions()
{
    QFETCH(int, position);
    QFETCH(QString, key);
    QFETCH(QString, caption);
    WindowFixture f;
    auto *toolbar = child<QToolBar>(f.window, QStringLiteral("Toolbar1"));
    const QList<QAction *> positions = toolbar->actions();
    QCOMPARE(positions.size(), 8);
    QAction *action = positions[position - 1];
    if (key.isEmpty()) {
        QVERIFY(qobject_cast<QWidgetAction *>(action));
        QVERIFY(action->objectName().isEmpty());
        QVERIFY(action->text().isEmpty());
        QVERIFY(action->icon().isNull());
        return;
    }
    QCOMPARE(action->objectName(), key);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->toolTip(), caption);
    QVERIFY(action->shortcuts().isEmpty());
    QVERIFY(!action->icon().pixmap(32, 32).isNull());
    QCOMPARE(action->icon().availableSizes().value(0), QSize(32, 32));
    auto *button = qobject_cast<QToolButton *>(toolbar->widgetForAction(action));
    QVERIFY(button);
    QCOMPARE(button->size(), QSize(55, 51));
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(button->iconSize(), QSize(32, 32));
}

// Every menu item, toolbar button and cmdFile calls its procedure with its
// argument; each procedure is told apart by what it leaves behind.
void MainWindowTest::commandReachesProcedure_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("onToolbar");
    QTest::addColumn<QString>("effect");
    const auto row = [](const char *name, bool onToolbar, const char *effect) {
        QTest::newRow(name) << QString::fromLatin1(name) << onToolbar << QString::fromUtf8(effect);
    };
    row("mFiles_New", false, "dialog 新規作成");
    row("New", true, "dialog 新規作成");
    row("mFiles_Open", false, "dialog 開く");
    row("Open", true, "dialog 開く");
    row("mFiles_SaveAs", false, "dialog 名前を付けて保存");
    row("cmdFile", false, "dialog 出力先を指定");
    row("mFiles_Save", false, "saved");
    row("Save", true, "saved");
    row("mFiles_Close", false, "closed");
    row("Close", true, "closed");
    row("mEdit_Add", false, "dialog 追加");
    row("mPopup_Add", false, "dialog 追加");
    row("Add", true, "dialog 追加");
    row("mEdit_Edit", false, "dialog 編集");
    row("mPopup_Edit", false, "dialog 編集");
    row("Edit", true, "dialog 編集");
    row("mEdit_Remove", false, "removed");
    row("mPopup_Remove", false, "removed");
    row("Remove", true, "removed");
    // No readme.txt lies beside the test program: the box says where it was looked for.
    row("mHelp_Version", false, "dialog Wendaro");
    row("mFiles_Exit", false, "exit");
    // The keys raise the same commands, from the list or a text field.
    row("Ctrl+N", false, "dialog 新規作成");
    row("Ctrl+O", false, "dialog 開く");
    row("Ctrl+Shift+S", false, "dialog 名前を付けて保存");
    row("Ctrl+S txtMemo", false, "saved");
    row("Ctrl+W", false, "closed");
    row("Ctrl+Q txtFile", false, "exit");
}

void MainWindowTest::commandReachesProcedure()
{
    QFETCH(QString, name);
    QFETCH(bool, onToolbar);
    QFETCH(QString, effect);
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "1"}, {2, "two", "2"}});
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.select(2);
    f.controller().itemClicked();
    if (effect == u"saved") // the selected row changes, and Save comes on
        QVERIFY(f.controller().acceptEditor(EditMode::Edit, QStringLiteral("2"), QStringLiteral("changed"), {}));
    const QByteArray before = contents(f.path("a.stf"));
    f.services.steps = {[](QDialog &dialog) { dialog.reject(); }};

    if (name.startsWith(u"Ctrl+")) {
        f.showActive();
        const QString field = name.section(u' ', 1);
        QWidget *focus = field.isEmpty() ? &f.list() : child<QWidget>(f.window, field);
        focus->setFocus();
        QTest::keySequence(focus, QKeySequence(name.section(u' ', 0, 0)));
    } else if (name == u"cmdFile")
        QTest::mouseClick(child<QPushButton>(f.window, name), Qt::LeftButton);
    else if (onToolbar)
        QTest::mouseClick(toolButton(f, name), Qt::LeftButton);
    else
        f.action(name).trigger();

    if (effect.startsWith(u"dialog ")) {
        QCOMPARE(f.services.titles, QStringList{effect.sliced(7)});
        return;
    }
    QVERIFY(f.services.titles.isEmpty());
    if (effect == u"saved") {
        QVERIFY(contents(f.path("a.stf")) != before);
        QVERIFY(!f.controller().isModified());
    } else if (effect == u"closed") {
        QVERIFY(f.controller().currentPath().isEmpty());
        QVERIFY(!f.controller().isEnabled(Command::Close));
    } else if (effect == u"removed") {
        QCOMPARE(f.controller().entries().count(), 1);
        QCOMPARE(f.controller().entries().at(0).name, QStringLiteral("one"));
    } else if (effect == u"exit") {
        QVERIFY(!f.window.isVisible());
    }
}

// The File menu's keys do nothing while their command is off, as the items:
// no dialog, no action raised.
void MainWindowTest::fileKeysFollowTheirCommand()
{
    WindowFixture f;
    f.showActive();
    for (const Command command : {Command::Save, Command::SaveAs, Command::Close}) {
        QAction &raised = f.controller().action(command);
        QVERIFY(!raised.isEnabled());
        QSignalSpy spy(&raised, &QAction::triggered);
        QTest::keySequence(&f.list(), raised.shortcut());
        QCOMPARE(spy.size(), 0);
    }
    QVERIFY(f.services.titles.isEmpty());
}

// A menu item, its context-menu twin and its toolbar button raise the one
// action of their command, and show its enabled state.
void MainWindowTest::everyPlaceRaisesItsCommand()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "1"}});
    for (const auto &[name, command] : CommandPlaces) {
        QAction &place = f.action(QString::fromLatin1(name));
        QAction &raised = f.controller().action(command);
        QVERIFY2(&place != &raised, name);
        raised.setEnabled(false);
        QVERIFY2(!place.isEnabled(), name);
        raised.setEnabled(true);
        QVERIFY2(place.isEnabled(), name);
        // Only the signal: what each command does is commandReachesProcedure's.
        QObject::disconnect(&raised, &QAction::triggered, nullptr, nullptr);
        QSignalSpy spy(&raised, &QAction::triggered);
        place.trigger();
        QCOMPARE(spy.size(), 1);
    }
}

void MainWindowTest::savePromptOnClose_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Yes") << "Yes" << true << true;
    QTest::newRow("No") << "No" << true << false;
    QTest::newRow("Cancel") << "Cancel" << false << false;
    QTest::newRow("Esc") << "Esc" << false << false;
    QTest::newRow("close button") << "close" << false << false;
    QTest::newRow("Enter takes the default, Yes") << "Enter" << true << true;
}

void MainWindowTest::savePromptOnClose()
{
    QFETCH(QString, how);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    WindowFixture f;
    f.open(QStringLiteral("a.txt"), {{1, "one", "1"}});
    f.showActive();
    f.controller().setFieldText(Field::File, QStringLiteral("out.stf"));
    const QByteArray before = contents(f.path("a.txt"));
    f.services.steps = {[&](QDialog &dialog) {
        auto &box = static_cast<QMessageBox &>(dialog);
        QCOMPARE(box.windowTitle(), QStringLiteral("Wendaro"));
        QCOMPARE(box.icon(), QMessageBox::Question);
        QCOMPARE(box.text(), f.path("a.txt") + QStringLiteral("への変更を保存しますか？"));
        QCOMPARE(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.defaultButton(), box.button(QMessageBox::Yes));
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
        if (how == u"Esc")
            QTest::keyClick(&box, Qt::Key_Escape);
        else if (how == u"close")
            box.close();
        else if (how == u"Enter")
            QTest::keyClick(&box, Qt::Key_Return);
        else
            box.button(how == u"Yes"  ? QMessageBox::Yes
                       : how == u"No" ? QMessageBox::No
                                      : QMessageBox::Cancel)
                ->click();
    }};
    f.window.close();
    QCOMPARE(f.services.unanswered, 0);
    QCOMPARE(!f.window.isVisible(), closes);
    QCOMPARE(contents(f.path("a.txt")) != before, written);
    if (!closes) {
        QVERIFY(f.controller().isModified());
        QCOMPARE(f.txtFile().text(), QStringLiteral("out.stf"));
    }
}

void MainWindowTest::failedLoadShowsControllerState()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "1"}});
    QFile broken(f.path("broken.txt"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("Index\tName\tValue\r\n>//memo\r\n5\tfive\tv\r\n6\tsix\r\n");
    broken.close();
    f.services.steps = {choose(f.path("broken.txt")), [](QDialog &dialog) {
                            auto &box = static_cast<QMessageBox &>(dialog);
                            QCOMPARE(box.icon(), QMessageBox::Critical);
                            QCOMPARE(box.windowTitle(), QStringLiteral("Wendaro"));
                            QCOMPARE(box.standardButtons(), QMessageBox::Ok);
                            QVERIFY(box.text().startsWith(QStringLiteral("ファイル読み込みエラー\r\n")));
                            box.button(QMessageBox::Ok)->click();
                        }};
    f.action(QStringLiteral("mFiles_Open")).trigger();
    QCOMPARE(f.services.unanswered, 0);
    QCOMPARE(f.controller().currentPath(), f.path("broken.txt"));
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
    // What was read before the error stays shown, the short row with its name.
    QCOMPARE(f.list().model()->rowCount(), 2);
    QCOMPARE(f.list().model()->index(1, 1).data().toString(), QStringLiteral("six"));
    QCOMPARE(f.txtMemo().text(), QStringLiteral("memo"));
}

void MainWindowTest::failedSaveShowsControllerState()
{
    // Two rows with one index cannot be written as STF.
    WindowFixture f;
    f.open(QStringLiteral("dup.txt"), {{5, "one", "1"}, {5, "two", "2"}});
    f.controller().setFieldText(Field::Memo, QStringLiteral("changed"));
    f.services.steps = {choose(f.path("dup.stf")), [](QDialog &dialog) {
                            auto &box = static_cast<QMessageBox &>(dialog);
                            QVERIFY(box.text().startsWith(QStringLiteral("ファイル書き込みエラー\r\n")));
                            box.button(QMessageBox::Ok)->click();
                        }};
    f.action(QStringLiteral("mFiles_SaveAs")).trigger();
    QCOMPARE(f.services.unanswered, 0);
    QVERIFY(f.controller().isModified());
    QVERIFY2(f.mismatch().isEmpty(), qPrintable(f.mismatch()));
}

void MainWindowTest::fileDialogSetUp_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("acceptMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("asksOverwrite");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QString>("fileName");
    const QStringList both{"STF ファイル (*.stf)", "テキスト (タブ区切り) (*.txt)"};
    QTest::newRow("New") << "mFiles_New" << int(QFileDialog::AcceptSave) << int(QFileDialog::AnyFile) << true << both
                         << "New.stf";
    QTest::newRow("Open") << "mFiles_Open" << int(QFileDialog::AcceptOpen) << int(QFileDialog::ExistingFile) << false
                          << both << "";
    QTest::newRow("Save As") << "mFiles_SaveAs" << int(QFileDialog::AcceptSave) << int(QFileDialog::AnyFile) << true
                             << both << "a";
    QTest::newRow("output file") << "cmdFile" << int(QFileDialog::AcceptOpen) << int(QFileDialog::AnyFile) << false
                                 << QStringList{"STF ファイル (*.stf)"} << "a";
}

void MainWindowTest::fileDialogSetUp()
{
    QFETCH(QString, command);
    QFETCH(int, acceptMode);
    QFETCH(int, fileMode);
    QFETCH(bool, asksOverwrite);
    QFETCH(QStringList, filters);
    QFETCH(QString, fileName);
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "1"}});
    f.services.steps = {pressEscape([&](QDialog &dialog) {
        auto &file = static_cast<QFileDialog &>(dialog);
        QCOMPARE(int(file.acceptMode()), acceptMode);
        QCOMPARE(int(file.fileMode()), fileMode);
        QCOMPARE(!file.testOption(QFileDialog::DontConfirmOverwrite), asksOverwrite);
        QCOMPARE(file.nameFilters(), filters);
        QCOMPARE(file.defaultSuffix(), QStringLiteral("stf"));
        // The name the dialog starts with, as the person sees it.
        auto *nameEdit = file.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameEdit);
        QCOMPARE(nameEdit->text(), fileName);
        if (fileName == u"a")
            QCOMPARE(file.directory().absolutePath(), QFileInfo(f.dir.path()).absoluteFilePath());
    })};
    if (command == u"cmdFile")
        child<QPushButton>(f.window, command)->click();
    else
        f.action(command).trigger();
    QCOMPARE(f.services.unanswered, 0);
    // The cancel changed nothing.
    QCOMPARE(f.controller().currentPath(), f.path("a.stf"));
    QVERIFY(!f.controller().isModified());
}

void MainWindowTest::saveAsNameTakesTheFilterExtension_data()
{
    // clang-format off
    QTest::addColumn<int>("filter"); // position in the dialog's list
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("STF filter, bare name") << 0 << "b" << "b.stf";
    QTest::newRow("text filter, bare name") << 1 << "b" << "b.txt";
    QTest::newRow("text filter, .stf typed") << 1 << "b.stf" << "b.stf";
    // clang-format on
}

void MainWindowTest::saveAsNameTakesTheFilterExtension()
{
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "1"}});
    f.services.steps = {[&](QDialog &dialog) {
        auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        types->setFocus();
        for (int step = 0; step < filter; ++step) // chosen by keyboard, as a person does
            QTest::keyClick(types, Qt::Key_Down);
        typePath(dialog, f.path(typed));
    }};
    f.action(QStringLiteral("mFiles_SaveAs")).trigger();
    QCOMPARE(f.controller().currentPath(), QDir::toNativeSeparators(f.path(written)));
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files, QDir::Name), (QStringList{"a.stf", written}));
    LoadedDocument document;
    QString error;
    QVERIFY(loadDocument(f.path(written), testCodePage(), document, &error));
}

void MainWindowTest::outputChoiceAcceptsNewNameInExistingFolder()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "1"}});
    const QString target = f.path("not-yet.stf");
    f.services.steps = {choose(target)};
    child<QPushButton>(f.window, QStringLiteral("cmdFile"))->click();
    QCOMPARE(f.services.unanswered, 0);
    QCOMPARE(f.txtFile().text(), target);
    QVERIFY(f.controller().isModified());
    QVERIFY(!QFile::exists(target));
}

void MainWindowTest::outputChoiceRefusesMissingFolder()
{
    WindowFixture f;
    f.open(QStringLiteral("a.stf"), {{1, "one", "1"}});
    f.services.steps = {[&](QDialog &dialog) {
                            typePath(dialog, f.path("missing/x.stf")); // refused, with a box
                            QVERIFY(dialog.isVisible());
                            QTest::keyClick(&dialog, Qt::Key_Escape);
                        },
                        [](QDialog &dialog) {
                            auto &box = static_cast<QMessageBox &>(dialog);
                            QCOMPARE(box.icon(), QMessageBox::Warning);
                            box.button(QMessageBox::Ok)->click();
                        }};
    child<QPushButton>(f.window, QStringLiteral("cmdFile"))->click();
    QCOMPARE(f.services.unanswered, 0);
    QCOMPARE(f.services.titles, (QStringList{"出力先を指定", "出力先を指定"}));
    QVERIFY(f.txtFile().text().isEmpty());
    QVERIFY(!f.controller().isModified());
}

void MainWindowTest::readmeBesideProgram()
{
    QVERIFY(QFile::exists(QStringLiteral(WENDARO_PROGRAM_DIR "/readme.txt")));
}

// A start-up load that fails shows the read error and ends with the file as
// the current file, in the clean state, as start-up always does.
void MainWindowTest::startUpWithMissingFile()
{
    QTemporaryDir dir;
    ScriptedServices services;
    services.steps = {answer(QMessageBox::Ok)};
    MainWindow window(testCodePage(), services);
    const QString missing = dir.filePath("missing.stf");
    window.startUp(missing);
    QCOMPARE(services.unanswered, 0);
    QCOMPARE(services.titles, QStringList{"Wendaro"});
    QCOMPARE(child<QLabel>(window, QStringLiteral("Panel1"))->text(), missing);
    QVERIFY(child<QAction>(window, QStringLiteral("mFiles_Close"))->isEnabled());
    QVERIFY(!child<QAction>(window, QStringLiteral("mFiles_Save"))->isEnabled());
}

void MainWindowTest::optionsAnswerWithoutDisplay_data()
{
    // clang-format off
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("printed"); // its beginning
    QTest::addColumn<bool>("stdoutFull"); // stdout is /dev/full, which takes no byte
    QTest::addColumn<int>("exitCode");
    QTest::newRow("--help") << "--help" << "Usage: wendaro [--reference=ORIGINAL [--old-reference=OLD]] [--memory=TMX]...\n" << false << 0;
    QTest::newRow("--version") << "--version" << "wendaro " WENDARO_VERSION "\n" << false << 0;
    // wendaro-cli's status for stdout not written.
    QTest::newRow("--help, stdout full") << "--help" << "" << true << 2;
    QTest::newRow("--version, stdout full") << "--version" << "" << true << 2;
    // clang-format on
}

// Answered on stdout before Qt starts: without a display the window could not.
void MainWindowTest::optionsAnswerWithoutDisplay()
{
    QFETCH(QString, option);
    QFETCH(QString, printed);
    QFETCH(bool, stdoutFull);
    QFETCH(int, exitCode);
    if (stdoutFull && !QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("/dev/full is missing");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    QProcess program;
    program.setProcessEnvironment(environment);
    if (stdoutFull)
        program.setStandardOutputFile(QStringLiteral("/dev/full"));
    program.start(QStringLiteral(WENDARO_PROGRAM_DIR "/wendaro"), {option, QStringLiteral("a.stf")});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), exitCode);
    if (!stdoutFull)
        QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).startsWith(printed));
}

// Once the application has a display name, Qt appends it on X11 to the title
// of every window whose title differs from it: "追加 — Wendaro".
void MainWindowTest::titlesGetNoApplicationName()
{
    const QFont font = QApplication::font();
    setUpApplication();
    QApplication::setFont(font);
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    ScriptedServices services;
    QCOMPARE(MainWindow(testCodePage(), services).windowTitle(), QStringLiteral("Wendaro"));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
