#include "ui/mainwindow/MainCommands.h"

#include "ui/common/Twips.h"
#include "ui/mainwindow/DeskActions.h"
#include "ui/mainwindow/MainWindowLayout.h"
#include "ui/mainwindow/WindowOpener.h"

#include <QAction>
#include <QFrame>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include <array>

namespace quilloa {
namespace {

// A button of Toolbar1: the command it runs, shown with its tooltip and icon.
struct ToolbarButton
{
    QAction* command;
    QString tooltip;
    QString icon;
};

} // namespace

MainCommands::MainCommands(QMainWindow* window, DeskActions* desk, WindowOpener* windows)
    : m_window(window), m_desk(desk), m_windows(windows)
{
    buildShared();
    buildToolbar();
    buildFileMenu();
    buildSettingsMenu();
    buildHelpMenu();
}

QAction* MainCommands::command(const char* name, const QString& caption, char key,
                               const std::function<void()>& run)
{
    auto* action = new QAction(caption, m_window);
    action->setObjectName(QLatin1String(name));
    if (key != 0)
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + (key - 'A'))));
    QObject::connect(action, &QAction::triggered, m_window, run);
    return action;
}

// The commands the toolbar shows as well as (most of them) the menu.
void MainCommands::buildShared()
{
    DeskActions* w = m_desk;
    m_newAction = command("menuNew", QStringLiteral("新建"), 'N', [w] { w->newPrescription(); });
    // A save that failed has told the user and kept the sheet; nothing more to do here.
    m_saveAction =
        command("menuSave", QStringLiteral("保存"), 'S', [w] { (void)w->savePrescription(); });
    m_printAction =
        command("menuPrint", QStringLiteral("打印"), 'P', [w] { w->printPrescription(); });
    m_copyAction =
        command("copyCommand", QStringLiteral("复制"), 0, [w] { w->copyPrescription(); });
    m_pasteAction =
        command("pasteCommand", QStringLiteral("粘贴"), 0, [w] { w->pastePrescription(); });
    WindowOpener* windows = m_windows;
    m_statisticsAction = command("menuStatistics", QStringLiteral("统计"), 'D',
                                 [windows] { windows->showStatistics(); });
    m_exitAction = command("menuExit", QStringLiteral("退出"), 'E', [w] { w->endProgram(); });
}

void MainCommands::buildToolbar()
{
    auto* frame = new QFrame(m_window->centralWidget());
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(pixels(mainlayout::kTopFrame));
    m_toolbar = new QToolBar(frame);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setGeometry(pixels(mainlayout::kToolbar));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolbar->setIconSize(QSize(16, 16));
    const std::array<ToolbarButton, 7> buttons{{
        {m_newAction, QStringLiteral("新建处方"), QStringLiteral(":/icons/new.svg")},
        {m_saveAction, QStringLiteral("保存处方"), QStringLiteral(":/icons/save.svg")},
        {m_printAction, QStringLiteral("打印处方"), QStringLiteral(":/icons/print.svg")},
        {m_copyAction, QStringLiteral("复制处方"), QStringLiteral(":/icons/copy.svg")},
        {m_pasteAction, QStringLiteral("粘贴处方"), QStringLiteral(":/icons/paste.svg")},
        {m_statisticsAction, QStringLiteral("工作量统计"),
         QStringLiteral(":/icons/statistics.svg")},
        {m_exitAction, QStringLiteral("退出"), QStringLiteral(":/icons/exit.svg")},
    }};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QAction* action = buttons[i].command;
        action->setToolTip(buttons[i].tooltip);
        action->setIcon(QIcon(buttons[i].icon));
        // The menu shows its items as text alone.
        action->setIconVisibleInMenu(false);
        m_toolbar->addAction(action);
        m_toolbar->widgetForAction(action)->setObjectName(
            QStringLiteral("Toolbar1_Button%1").arg(i + 1));
    }
}

void MainCommands::buildFileMenu()
{
    DeskActions* w = m_desk;
    WindowOpener* windows = m_windows;
    QMenu* file = m_window->menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("menuFile"));
    file->addActions({m_newAction, m_saveAction});
    file->addSeparator();
    file->addAction(m_statisticsAction);
    file->addAction(command("menuClinicLog", QStringLiteral("门诊日志"), 'G',
                            [windows] { windows->showClinicLog(); }));
    file->addSeparator();
    file->addAction(m_printAction);
    file->addAction(command("menuPrintPreview", QStringLiteral("打印预览"), 0,
                            [w] { w->previewPrescription(); }));
    file->addAction(command("menuCardPreview", QStringLiteral("注射卡预览"), 0,
                            [w] { w->previewInjectionCard(); }));
    file->addAction(command("menuAlignmentPage", QStringLiteral("打印对位测试页"), 0,
                            [w] { w->printAlignmentPage(); }));
    file->addSeparator();
    file->addAction(command("menuLock", QStringLiteral("锁定"), 'L', [w] { w->lockScreen(); }));
    file->addAction(m_exitAction);
}

void MainCommands::buildSettingsMenu()
{
    WindowOpener* windows = m_windows;
    QMenu* settings = m_window->menuBar()->addMenu(QStringLiteral("设置(&S)"));
    settings->setObjectName(QStringLiteral("menuSettings"));
    settings->addAction(
        command("menuDrugs", QStringLiteral("药品维护"), 'J', [windows] { windows->showDrugs(); }));
    settings->addAction(command("menuDiagnoses", QStringLiteral("诊断名称"), 'I',
                                [windows] { windows->showDiagnoses(); }));
    settings->addAction(command("menuAddresses", QStringLiteral("地址库"), 'M',
                                [windows] { windows->showAddresses(); }));
    settings->addSeparator();
    settings->addAction(command("menuGeneral", QStringLiteral("综合设置"), 'W',
                                [windows] { windows->showSettings(); }));
    settings->addSeparator();
    settings->addAction(command("menuRestoreBackup", QStringLiteral("恢复备份..."), 0,
                                [windows] { windows->showBackups(); }));
    settings->addAction(command("menuBackUpNow", QStringLiteral("立即备份"), 0,
                                [windows] { windows->backUpNow(); }));
    settings->addAction(command("menuBackUpTo", QStringLiteral("备份到…"), 0,
                                [windows] { windows->backUpToChosenFolder(); }));
    settings->addAction(command("menuImportOldData", QStringLiteral("导入旧数据…"), 0,
                                [windows] { windows->importOldData(); }));
}

void MainCommands::buildHelpMenu()
{
    WindowOpener* windows = m_windows;
    QMenu* help = m_window->menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(command("menuOnlineHelp", QStringLiteral("在线帮助"), 'H',
                            [windows] { windows->openHelp(); }));
    help->addAction(
        command("menuAbout", QStringLiteral("关于"), 'Z', [windows] { windows->showAbout(); }));
}

} // namespace quilloa
