#include "core/printing/ClinicLogPrintout.h"
#include "core/printing/PrintQueue.h"
#include "ui/printing/CupsPrintQueue.h"
#include "ui/printing/SpoolerPageDevice.h"
#include "ui/support/PdfWords.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quilloa;
using quilloa::test::PdfWords;

namespace {

unsigned modeOf(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777 : 0;
}

// A print service that keeps what it is handed and answers as told.
class FakeQueue : public PrintQueue
{
public:
    std::optional<PrinterChoice> printer;
    JobOutcome answer{true, 7, QString()};
    QString keptPdf;
    QString submittedPath;
    QString submittedName;
    // Who could read the job while it waited: its mode and its folder's.
    unsigned fileMode = 0;
    unsigned folderMode = 0;

    std::optional<PrinterChoice> defaultPrinter() override { return printer; }
    JobOutcome submitPdf(const PrinterChoice&, const QString& pdfPath,
                         const QString& jobName) override
    {
        submittedPath = pdfPath;
        fileMode = modeOf(pdfPath);
        folderMode = modeOf(QFileInfo(pdfPath).absolutePath());
        submittedName = jobName;
        QFile::remove(keptPdf);
        QFile::copy(pdfPath, keptPdf);
        return answer;
    }
};

QList<QStringList> oneVisit()
{
    return {QStringList(7),
            {QStringLiteral("张三"), QStringLiteral("男"), QStringLiteral("45"),
             QStringLiteral("感冒"), QStringLiteral("城关"), QStringLiteral("2026-12-08 09:30"),
             QString()}};
}

} // namespace

class TestSpoolerPageDevice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void acceptedJobIsNamedOnThePrintersPaperAndLeavesNoFile()
    {
        FakeQueue queue;
        queue.keptPdf = m_dir.filePath(QStringLiteral("kept.pdf"));
        PaperSetup letter;
        letter.size = QSizeF(215.9, 279.4);
        letter.unprintable = QMarginsF(6.35, 6.35, 6.35, 14.8);
        queue.printer = PrinterChoice{QStringLiteral("前台"), letter};
        const mode_t umask = ::umask(0); // the job is private whatever the umask
        {
            SpoolerPageDevice device(queue, QStringLiteral("门诊日志 2026-12-08"));
            QVERIFY2(ClinicLogPrintout(oneVisit(), QStringLiteral("李医生")).print(device),
                     qPrintable(device.errorText()));
            QCOMPARE(device.outcome().jobId, 7);
        }
        ::umask(umask);
        QCOMPARE(queue.submittedName, QStringLiteral("门诊日志 2026-12-08"));
        QCOMPARE(queue.fileMode, 0600u);
        QCOMPARE(queue.folderMode, 0700u);
        QVERIFY(!QFileInfo::exists(QFileInfo(queue.submittedPath).absolutePath()));
        if (!PdfWords::available()) {
            QSKIP("poppler-utils not installed: the page size was not checked");
        }
        QCOMPARE(PdfWords::pageSize(queue.keptPdf).toSize(), QSize(792, 612)); // Letter, turned
    }

    void refusedJobIsReportedInTheServicesWords()
    {
        FakeQueue queue;
        queue.keptPdf = m_dir.filePath(QStringLiteral("refused.pdf"));
        queue.printer = PrinterChoice{QStringLiteral("前台"), PaperSetup()};
        queue.answer = JobOutcome{false, 0, QStringLiteral("打印机“前台”现在不接受打印任务")};
        SpoolerPageDevice device(queue, QStringLiteral("门诊日志"));
        QVERIFY(!ClinicLogPrintout(oneVisit(), QString()).print(device));
        QCOMPARE(device.errorText(), queue.answer.message);
        QVERIFY(!QFileInfo::exists(QFileInfo(queue.submittedPath).absolutePath()));
    }

    void missingPrinterIsToldInTheOneWording()
    {
        FakeQueue queue;
        SpoolerPageDevice device(queue, QStringLiteral("门诊日志"));
        QVERIFY(!ClinicLogPrintout(oneVisit(), QString()).print(device));
        QCOMPARE(device.errorText(), PrintQueue::noPrinterMessage());
        QVERIFY(queue.submittedName.isEmpty());
    }

    // A paper the service cannot name is not guessed at: a guess prints turned or cut.
    void unknownPaperPrintsNothing()
    {
        FakeQueue queue;
        queue.printer = PrinterChoice{QStringLiteral("前台"), PaperSetup(), false};
        SpoolerPageDevice device(queue, QStringLiteral("门诊日志"));
        QVERIFY(!ClinicLogPrintout(oneVisit(), QString()).print(device));
        QCOMPARE(device.errorText(), PrintQueue::unknownPaperMessage(QStringLiteral("前台")));
        QVERIFY(queue.submittedName.isEmpty());
    }

    // A stopped scheduler is not "no printer": the user would go and add one they have.
    void stoppedPrintServiceIsToldAsSuch()
    {
        qputenv("CUPS_SERVER", m_dir.filePath(QStringLiteral("no-scheduler.sock")).toLocal8Bit());
        CupsPrintQueue queue;
        SpoolerPageDevice device(queue, QStringLiteral("门诊日志"));
        QVERIFY(!ClinicLogPrintout(oneVisit(), QString()).print(device));
        QCOMPARE(device.errorText(), PrintQueue::serviceUnreachableMessage());
    }

    // A scheduler that takes the connection and never answers is given up after the limit, when
    // the printer is looked up and when a job is sent, instead of holding the window for good.
    void silentPrintServiceIsGivenUpAfterTheLimit()
    {
        const QByteArray socketPath =
            QFile::encodeName(m_dir.filePath(QStringLiteral("mute.sock")));
        const int mute = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.constData(), sizeof(address.sun_path) - 1);
        QVERIFY(::bind(mute, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0);
        QVERIFY(::listen(mute, 8) == 0);       // connections wait in the backlog, never read
        cupsSetServer(socketPath.constData()); // libcups keeps the server it first read
        CupsPrintQueue queue(std::chrono::milliseconds(300));
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!queue.defaultPrinter());
        QCOMPARE(queue.lastAbsence(), PrintQueue::Absence::ServiceUnreachable);
        const JobOutcome sent =
            queue.submitPdf({QStringLiteral("前台"), PaperSetup(), true},
                            m_dir.filePath(QStringLiteral("none.pdf")), QStringLiteral("处方"));
        QVERIFY(!sent.accepted);
        QVERIFY2(sent.message.contains(QStringLiteral("无法连接打印服务")),
                 qPrintable(sent.message));
        QVERIFY2(waited.elapsed() < 30000, qPrintable(QString::number(waited.elapsed())));
        ::close(mute);
        cupsSetServer(nullptr);
    }
};

QTEST_MAIN(TestSpoolerPageDevice)
#include "TestSpoolerPageDevice.moc"
