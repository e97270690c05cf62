#include "core/oldimport/OldDataImport.h"
#include "core/startup/CommandLine.h"
#include "core/startup/DataFolderChoice.h"
#include "core/startup/StockTranslations.h"
#include "core/store/server/ServerImport.h"
#include "core/store/server/ServerPreparation.h"
#include "core/text/SecretMask.h"
#include "ui/common/ServerWaitIndicator.h"
#include "ui/startup/AppStartup.h"
#include "ui/startup/SmokeRun.h"
#ifndef Q_OS_WIN
#include "ui/startup/SmoothKaiRule.h"
#endif

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// With --quit-after-start: once the first window has been painted, says so on the output (the
// benchmark times a start to this line) and ends the program, at the latest after a while.
class QuitWhenPainted : public QObject
{
public:
    explicit QuitWhenPainted(QWidget* window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
        QTimer::singleShot(kLatestMs, this, &QuitWhenPainted::quit);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Queued, so the paint handler finishes first.
        if (watched == m_window && event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, &QuitWhenPainted::quit);
        return false;
    }

private:
    static constexpr int kLatestMs = 10000;

    void quit()
    {
        if (m_done)
            return;
        m_done = true;
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QWidget* m_window;
    bool m_done = false;
};

QStringList rawArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

quilloa::DataFolder chooseDataFolder(const quilloa::CommandLine& line)
{
    return quilloa::DataFolderChoice::choose(QCoreApplication::applicationDirPath(),
                                             line.dataFolder(),
                                             quilloa::DataFolderChoice::userDataFolder());
}

// Parses the arguments of the running application; prints help, version or the error.
// Returns the exit code when the program should end here, -1 when it should start.
int handleCommandLine(quilloa::CommandLine& line)
{
    if (!line.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(quilloa::SecretMask::mask(line.errorText())));
        return 1;
    }
    if (line.versionRequested()) {
        std::fputs(qPrintable(quilloa::CommandLine::versionText()), stdout);
        return 0;
    }
    if (line.helpRequested()) {
        std::fputs(qPrintable(line.helpText(chooseDataFolder(line).description())), stdout);
        return 0;
    }
    return -1;
}

// Help, version and a refused command line need no screen, so they run without the window system.
int printText(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    quilloa::StockTranslations::install();
    quilloa::CommandLine line;
    return std::max(handleCommandLine(line), 0);
}

// Copying the stores to a server is done at a terminal, without a window.
int copyStores(int argc, char* argv[])
{
    // What is printed is the program's own summary or reason; the driver's warnings (a statement
    // it could not free after a refused row, say) would only be English noise beside it.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(quilloa::SecretMask::mask(text)));
    });
    QCoreApplication app(argc, argv);
    quilloa::StockTranslations::install();
    quilloa::CommandLine line;
    if (const int code = handleCommandLine(line); code >= 0)
        return code;
    const quilloa::ServerImport::Outcome outcome =
        quilloa::ServerImport::copy(chooseDataFolder(line).path, line.copyStoresTo());
    std::fprintf(outcome.ok ? stdout : stderr, "%s\n",
                 qPrintable(quilloa::SecretMask::mask(outcome.message)));
    return outcome.ok ? 0 : 1;
}

// Preparing a server for the workstations is done once, at a terminal, by the database owner.
int prepareServer(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    quilloa::StockTranslations::install();
    quilloa::CommandLine line;
    if (const int code = handleCommandLine(line); code >= 0)
        return code;
    const quilloa::ServerPreparation::Outcome outcome =
        quilloa::ServerPreparation::prepare(line.prepareServer(), line.workstationRole());
    std::fprintf(outcome.ok ? stdout : stderr, "%s\n",
                 qPrintable(quilloa::SecretMask::mask(outcome.message)));
    return outcome.ok ? 0 : 1;
}

// The older program's data is imported at a terminal too, without a window; the report or the
// reason goes to the output.
int importOldData(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    quilloa::StockTranslations::install();
    quilloa::CommandLine line;
    if (const int code = handleCommandLine(line); code >= 0)
        return code;
    const QString programFolder = chooseDataFolder(line).path;
    const quilloa::StorePaths paths(programFolder);
    const quilloa::StoreResult<quilloa::StoreLocation> location = quilloa::StoreLocation::choose(
        line.store(), quilloa::StoreLocation::settingsFileIn(paths.dataFolder));
    if (!location.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(quilloa::SecretMask::mask(location.error())));
        return 1;
    }
    const quilloa::OldDataImport::Outcome outcome = quilloa::OldDataImport(paths).run(
        line.importOldData(), location.value(), line.dryRun(), quilloa::SystemClock().now());
    std::fprintf(outcome.ok ? stdout : stderr, "%s\n",
                 qPrintable(quilloa::SecretMask::mask(outcome.message)));
    return outcome.ok ? 0 : 1;
}

// Qt's and the drivers' warnings go to the usual place, never with a password in them.
QtMessageHandler g_defaultHandler = nullptr;

void maskLogLines()
{
    g_defaultHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            g_defaultHandler(type, context, quilloa::SecretMask::mask(text));
        });
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Quilloa"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLOA_VERSION));
    if (quilloa::CommandLine::asksForTextOnly(rawArguments(argc, argv)))
        return printText(argc, argv);
    if (quilloa::CommandLine::asksToCopyStores(rawArguments(argc, argv)))
        return copyStores(argc, argv);
    if (quilloa::CommandLine::asksToImportOldData(rawArguments(argc, argv))) {
        maskLogLines();
        return importOldData(argc, argv);
    }
    if (quilloa::CommandLine::asksToPrepareServer(rawArguments(argc, argv))) {
        maskLogLines();
        return prepareServer(argc, argv);
    }

    maskLogLines();
#ifndef Q_OS_WIN
    quilloa::SmoothKaiRule::install(); // Windows has the real Kai face and no fontconfig
#endif
    QApplication app(argc, argv);
    // Wayland matches the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quilloa.Quilloa"));
    quilloa::StockTranslations::install();
    quilloa::CommandLine line;
    if (const int code = handleCommandLine(line); code >= 0)
        return code;
    const QString dataFolder = chooseDataFolder(line).path;
    // A server that is slow to answer never freezes the windows.
    const quilloa::ServerWaitIndicator serverWait;
    std::unique_ptr<QWidget> window(quilloa::AppStartup::start(
        dataFolder, std::make_shared<quilloa::SystemClock>(), line.store()));
    if (!window)
        return 1;
    if (quilloa::SmokeRun::requested())
        quilloa::SmokeRun::start(window.get(), dataFolder);
    if (line.quitAfterStart())
        new QuitWhenPainted(window.get());
    return QApplication::exec();
}
