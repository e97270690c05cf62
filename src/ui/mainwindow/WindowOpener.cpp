#include "ui/mainwindow/WindowOpener.h"

#include "core/backup/BackupRestore.h"
#include "core/startup/AppContext.h"
#include "ui/common/DriveFolderChoice.h"
#include "ui/common/PlainMessage.h"
#include "ui/maintenance/BackupWindow.h"
#include "ui/maintenance/DrugWindow.h"
#include "ui/maintenance/OldDataImportWindow.h"
#include "ui/maintenance/ReferenceWindow.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/mainwindow/AboutWindow.h"
#include "ui/mainwindow/OnlineHelp.h"
#include "ui/reports/ClinicLogWindow.h"
#include "ui/reports/StatisticsWindow.h"

namespace quilloa {
namespace {

template <class Window, class Make> void showSingle(QPointer<Window>& slot, Make make)
{
    if (!slot) {
        slot = make();
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
}

} // namespace

WindowOpener::WindowOpener(const AppContext& context, SettingsHolder* settings, QWidget* window)
    : QObject(window), m_context(context), m_settings(settings), m_window(window)
{
}

void WindowOpener::showDrugs()
{
    showSingle(m_drugWindow, [this] {
        auto* window = new DrugWindow(m_context, m_window);
        connect(window, &DrugWindow::drugsChanged, this, &WindowOpener::drugsChanged);
        return window;
    });
}

void WindowOpener::showDiagnoses()
{
    showSingle(m_diagnosisWindow, [this] {
        return new ReferenceWindow(m_context, ReferenceList::Diagnoses, m_window);
    });
}

void WindowOpener::showAddresses()
{
    showSingle(m_addressWindow, [this] {
        return new ReferenceWindow(m_context, ReferenceList::Addresses, m_window);
    });
}

void WindowOpener::showStatistics()
{
    showSingle(m_statisticsWindow, [this] { return new StatisticsWindow(m_context, m_window); });
}

void WindowOpener::showClinicLog()
{
    showSingle(m_clinicLogWindow, [this] {
        return new ClinicLogWindow(m_context, m_settings->doctorReader(), m_window);
    });
}

void WindowOpener::showSettings()
{
    m_settings->show();
}

void WindowOpener::showAbout()
{
    showSingle(m_aboutWindow, [this] { return new AboutWindow(m_context.paths(), m_window); });
}

void WindowOpener::openHelp()
{
    OnlineHelp::open();
}

void WindowOpener::showBackups()
{
    showSingle(m_backupWindow, [this] {
        auto* window = new BackupWindow(m_context, m_window);
        connect(window, &BackupWindow::restored, this, &WindowOpener::closeAfterRestore);
        return window;
    });
}

void WindowOpener::backUpNow()
{
    const BackupRestore::Outcome outcome = BackupRestore::backUpNow(m_context);
    if (outcome.ok)
        PlainMessage::inform(m_window, QStringLiteral("立即备份"), outcome.message);
    else
        PlainMessage::warn(m_window, QStringLiteral("立即备份"), outcome.message);
    if (m_backupWindow)
        m_backupWindow->refresh();
}

void WindowOpener::backUpToChosenFolder()
{
    const QString caption = QStringLiteral("备份到…");
    if (m_context.location().isServer()) {
        PlainMessage::warn(m_window, caption,
                           QStringLiteral("数据存放在数据库服务器上，请用“立即备份”，再把备份文件夹"
                                          "中当天的文件夹复制到U盘。"));
        return;
    }
    const QString folder =
        DriveFolderChoice::ask(m_window, QStringLiteral("选择备份到哪个文件夹（例如U盘）"));
    if (folder.isEmpty())
        return;
    const BackupRestore::Outcome outcome =
        BackupRestore::backUpTo(m_context.paths(), folder, m_context.now());
    if (outcome.ok)
        PlainMessage::inform(m_window, caption, outcome.message);
    else
        PlainMessage::warn(m_window, caption, outcome.message);
}

void WindowOpener::importOldData()
{
    if (OldDataImportWindow::importInto(m_context, m_window))
        closeAfterRestore();
}

// Windows that hold rows or settings of the replaced stores are closed, so nothing of the old
// stores can be written over the restored ones.
void WindowOpener::closeAfterRestore()
{
    for (QWidget* window : {static_cast<QWidget*>(m_drugWindow.data()),
                            static_cast<QWidget*>(m_diagnosisWindow.data()),
                            static_cast<QWidget*>(m_addressWindow.data()),
                            static_cast<QWidget*>(m_statisticsWindow.data()),
                            static_cast<QWidget*>(m_clinicLogWindow.data())}) {
        if (window)
            window->close();
    }
    m_settings->drop();
    emit storesReplaced();
}

} // namespace quilloa
