// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/window/MainWindowController.h"
#include "control/window/UserInterface.h"

#include "ui/ListKeys.h"

#include <QMainWindow>

class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;

namespace wendaro {

class EntryListView;
class FindBar;
class ProjectPanel;
class TranslationPanel;
class LoadAhead;
class LimitedLineEdit;
class MainToolbar;
class WindowServices;

// frmMain: the program's window. It shows the controller's state (the entry
// list through its model and selection model, the two fields, the path in
// the status bar) and puts the controller's command actions in their places
// (menus, toolbar, cmdFile, keys); every other event of its widgets goes to
// one procedure of the controller. It is also the controller's way to the person:
// message boxes, the file dialog, the entry editor and other programs go
// through services.
class MainWindow : public QMainWindow, public UserInterface
{
    Q_OBJECT
public:
    MainWindow(CodePage codePage, WindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    MainWindowController &controller() { return m_controller; }

    // The window's load with the file that the program's first argument names,
    // taken from ahead when that is its load.
    void startUp(const QString &path, bool pathBytesValid = true, LoadAhead *ahead = nullptr);

    // Gives the list the focus and shows its selected item selected: on the
    // first activation and whenever the entry editor has closed.
    void applyFocusRule();

    // A key that acts on the rows, pressed on the list or on a control that
    // hands such keys on (see ListKeys): raises its command.
    void listKeyPressed(ListKey key);

    // UserInterface
    MessageAnswer showMessage(const wendaro::MessageBox &box) override;
    std::optional<QString> showFileDialog(const FileDialogRequest &request) override;
    QStringList showOpenFilesDialog(const FileDialogRequest &request) override;
    std::optional<QString> chooseItem(const QString &title, const QString &label, const QStringList &items) override;
    void showEntryEditor(const EditorFill &fill) override;
    bool startDetached(const QString &program, const QStringList &arguments) override;
    bool openWithDefaultViewer(const QString &path) override;
    void runLongTask(const QString &label, const std::function<void(LoadProgress &)> &task) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    void fieldEnabledChanged(Field field, bool enabled) override;
    void fieldTextChanged(Field field, const QString &text) override;
    void currentPathChanged(const QString &path) override;
    void showStatus(const QString &text) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildClientArea();
    void connectControls();
    void followController();
    // The resize pass for the client area's current size.
    void layOut();
    LimitedLineEdit *field(Field field) const;

    WindowServices &m_services;
    MainWindowController m_controller;
    QWidget *m_client = nullptr;
    MainToolbar *m_toolbar = nullptr;
    QPushButton *m_cmdFile = nullptr;
    LimitedLineEdit *m_txtFile = nullptr;
    LimitedLineEdit *m_txtMemo = nullptr;
    QLabel *m_label1 = nullptr;
    EntryListView *m_list = nullptr;
    FindBar *m_findBar = nullptr;
    TranslationPanel *m_translationPanel = nullptr;
    ProjectPanel *m_projectPanel = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_pathPanel = nullptr;
    QMenu *m_popup = nullptr;
    bool m_activatedOnce = false;
};

} // namespace wendaro
