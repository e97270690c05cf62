#pragma once

#include <QString>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace quilloa {

class DeskActions;
class WindowOpener;

// The main window's commands, each one action that the menu bar and the toolbar share, named as
// the menus name them and with its Ctrl key; the toolbar (Toolbar1 in Frame1) and the menus
// 文件, 设置 and 帮助 are built from them.
class MainCommands
{
public:
    // Builds the actions, the toolbar and the menu bar onto `window`; they act on `desk`.
    MainCommands(QMainWindow* window, DeskActions* desk, WindowOpener* windows);

    QToolBar* toolbar() const { return m_toolbar; }
    QAction* saveAction() const { return m_saveAction; }

private:
    // One command: an action named `name`, with Ctrl+`key` unless `key` is 0.
    QAction* command(const char* name, const QString& caption, char key,
                     const std::function<void()>& run);
    void buildShared();
    void buildToolbar();
    void buildFileMenu();
    void buildSettingsMenu();
    void buildHelpMenu();

    QMainWindow* m_window = nullptr;
    DeskActions* m_desk = nullptr;
    WindowOpener* m_windows = nullptr;
    QToolBar* m_toolbar = nullptr;
    // The commands the menu and the toolbar share.
    QAction* m_newAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_pasteAction = nullptr;
    QAction* m_statisticsAction = nullptr;
    QAction* m_exitAction = nullptr;
};

} // namespace quilloa
