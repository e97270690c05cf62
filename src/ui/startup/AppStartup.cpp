#include "ui/startup/AppStartup.h"

#include "core/startup/AppContext.h"
#include "core/startup/StartupPreparation.h"
#include "ui/common/PlainMessage.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/startup/FontSetup.h"
#include "ui/startup/LoginWindow.h"
#include "ui/startup/StartupProgress.h"

namespace quilloa {

QWidget* AppStartup::start(const QString& programFolder, std::shared_ptr<const Clock> clock,
                           const QString& storeText)
{
    FontSetup::install();
    const StoreResult<StoreLocation> location = StoreLocation::choose(
        storeText, StoreLocation::settingsFileIn(StorePaths(programFolder).dataFolder));
    if (!location.ok()) {
        // Falling back to this computer's files would show another archive than the clinic's.
        PlainMessage::warn(nullptr, QStringLiteral("Quilloa"),
                           QStringLiteral("程序没有打开：%1").arg(location.error()));
        return nullptr;
    }
    const AppContext context(programFolder, std::move(clock), location.value());
    // A backup day's copies are taken once the window is open (see below).
    StartupReport report = StartupPreparation::run(context, StartupPreparation::Backup::Later);
    // An archive store that is there but cannot be read may hold a login password: no window
    // opens until it has been read.
    while (report.loginUnknown()) {
        const StoreStatus& failed = report.loginRead;
        const QString reason =
            // A server's database has no dated file copies to name.
            context.location().isServer()
                ? failed.error()
                : StartupPreparation::unusableStoreNotice(context.paths(), failed);
        if (!PlainMessage::askRetry(
                nullptr, QStringLiteral("Quilloa"),
                QStringLiteral("无法读取档案，不能确认登录密码，程序暂不能打开。\n%1").arg(reason)))
            return nullptr;
        // On a server the tables may not have been made while it could not be reached.
        if (context.location().isServer())
            report = StartupPreparation::run(context, StartupPreparation::Backup::Later);
        else
            StartupPreparation::readLogin(context, report);
    }
    QWidget* window = nullptr;
    if (report.needsLogin())
        window = new LoginWindow(context, report.loginPassword);
    else
        window = new MainWindow(context);
    window->show();
    // The copies go on beside the open window, their progress shown when they take a while.
    // A store file's copy reads under the store's own lock and a server's export from one
    // snapshot, so either stays consistent with a save meanwhile; closing the window waits for
    // it.
    if (const auto work = StartupPreparation::backupWork(context, report)) {
        auto* backup = new BackgroundWork(*work, window);
        new StartupProgress(backup, window);
        backup->start();
    }
    // Told beside the first window, without holding up the start.
    for (const QString& notice : report.notices)
        PlainMessage::notify(window, QStringLiteral("Quilloa"), notice);
    return window;
}

} // namespace quilloa
