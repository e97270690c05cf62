#include "startup/AppStartup.h"

#include "mainwindow/MainWindow.h"
#include "startup/AppContext.h"
#include "startup/FontSetup.h"
#include "startup/LoginWindow.h"
#include "startup/StartupPreparation.h"

namespace quilloa {

QWidget* AppStartup::start(const QString& programFolder, std::shared_ptr<const Clock> clock)
{
    FontSetup::install();
    const AppContext context(programFolder, std::move(clock));
    const StartupReport report = StartupPreparation::run(context.paths(), context.clock());
    QWidget* window = nullptr;
    if (report.needsLogin())
        window = new LoginWindow(context, report.loginPassword);
    else
        window = new MainWindow(context);
    window->show();
    return window;
}

} // namespace quilloa
