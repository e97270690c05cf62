#include "ui/startup/AppStartup.h"

#include "core/startup/AppContext.h"
#include "core/startup/StartupPreparation.h"
#include "ui/common/PlainMessage.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/startup/FontSetup.h"
#include "ui/startup/LoginWindow.h"

namespace quilloa {

QWidget* AppStartup::start(const QString& programFolder, std::shared_ptr<const Clock> clock)
{
    FontSetup::install();
    const AppContext context(programFolder, std::move(clock));
    StartupReport report = StartupPreparation::run(context.paths(), context.clock());
    // An archive store that is there but cannot be read may hold a login password: no window
    // opens until it has been read.
    while (report.loginUnknown()) {
        const StoreStatus& failed = report.loginRead;
        const QString reason =
            failed.fault() == StoreFault::Damaged
                ? StartupPreparation::unusableStoreNotice(context.paths(), failed)
                : failed.error();
        if (!PlainMessage::askRetry(
                nullptr, QStringLiteral("Quilloa"),
                QStringLiteral("无法读取档案，不能确认登录密码，程序暂不能打开。\n%1").arg(reason)))
            return nullptr;
        StartupPreparation::readLogin(context.paths(), report);
    }
    QWidget* window = nullptr;
    if (report.needsLogin())
        window = new LoginWindow(context, report.loginPassword);
    else
        window = new MainWindow(context);
    window->show();
    // Told beside the first window, without holding up the start.
    for (const QString& notice : report.notices)
        PlainMessage::notify(window, QStringLiteral("Quilloa"), notice);
    return window;
}

} // namespace quilloa
