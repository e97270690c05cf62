// Prints through a real spooler: a private cupsd with the cups-pdf backend, started by the
// test in a temporary folder, and reads the PDFs that come out the other end.

#include "core/printing/ClinicLogPrintout.h"
#include "core/printing/InjectionCardPrintout.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/printing/PrintMargins.h"
#include "ui/printing/CupsPrintQueue.h"
#include "ui/printing/PdfPageDevice.h"
#include "ui/printing/SpoolerPageDevice.h"
#include "ui/startup/FontSetup.h"
#include "ui/support/PdfInk.h"
#include "ui/support/PdfWords.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

#include <cups/cups.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <tuple>

using namespace quilloa;
using quilloa::test::PdfInk;
using quilloa::test::PdfWords;

namespace {

constexpr double kTolerance = 0.1 / 25.4 * 72; // 0.1 mm in points
const QString kPlainQueue = QStringLiteral("quilloa-a4");
const QString kMarginQueue = QStringLiteral("quilloa-margins");
// Unprintable strips of the second queue's A4 paper in points: left, top, right, bottom.
constexpr double kStripLeft = 18, kStripTop = 30, kStripRight = 18, kStripBottom = 42;

PrescriptionPrintout::Sheet sampleSheet()
{
    PrescriptionPrintout::Sheet sheet;
    sheet.captions[0] = QStringLiteral("城关诊所处方笺");
    sheet.fields = {QStringLiteral("张三"),       QStringLiteral("男"),   QStringLiteral("45"),
                    QStringLiteral("2026-12-08"), QStringLiteral("感冒"), QStringLiteral("城关镇"),
                    QStringLiteral("李四"),       QStringLiteral("王五"), QStringLiteral("12.5")};
    sheet.body = QStringLiteral("阿莫西林胶囊 0.25g×24\r\n    用法：0.5 tid\r\n");
    return sheet;
}

InjectionCardPrintout::Card sampleCard()
{
    InjectionCardPrintout::Card card;
    card.captions[1] = QStringLiteral("张三，男，45");
    card.captions[2] = QStringLiteral("2026-12-08");
    for (int i = 1; i <= 15; ++i) {
        card.body += QStringLiteral("第%1行 青霉素 80万单位\r\n").arg(i);
    }
    return card;
}

QList<QStringList> registerGrid(int visits)
{
    QList<QStringList> rows{QStringList(7)};
    for (int i = 1; i <= visits; ++i) {
        rows.append({QStringLiteral("病人%1").arg(i), QStringLiteral("女"), QString::number(20 + i),
                     QStringLiteral("上呼吸道感染"), QStringLiteral("东关村"),
                     QStringLiteral("2026-12-08 09:%1").arg(i % 60, 2, 10, QChar(u'0')),
                     QString()});
    }
    return rows;
}

// How long one step may take on a heavily loaded machine before the test calls it stuck.
constexpr int kPatienceMs = 120000;
// Every run names its own cups-pdf configuration after its process; the backend only reads
// configurations from the system's cups folder.
const QString kBackendConfFolder = QStringLiteral("/etc/cups");
const QString kBackendPrefix = QStringLiteral("quilloa-test-");

// Whether the file ends in the trailer ghostscript writes last, so it is not still being written.
bool completePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16) {
        return false;
    }
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().trimmed().endsWith("%%EOF");
}

// A run that was killed leaves its configuration behind, named after its process.
void removeStaleBackendConfs()
{
    const QDir folder(kBackendConfFolder);
    const QString prefix = QStringLiteral("cups-pdf-") + kBackendPrefix;
    for (const QString& name : folder.entryList({prefix + QStringLiteral("*.conf")}, QDir::Files)) {
        const QString pid = name.mid(prefix.size()).chopped(5);
        if (!QFileInfo::exists(QStringLiteral("/proc/") + pid)) {
            QFile::remove(folder.filePath(name));
        }
    }
}

// Where AppArmor holds the backend to its packaged profile, it may only read the one system
// configuration, so a private one would be ignored and the PDFs would land elsewhere.
bool backendConfinedByAppArmor()
{
    QFile profiles(QStringLiteral("/sys/kernel/security/apparmor/profiles"));
    return profiles.open(QIODevice::ReadOnly) &&
           profiles.readAll().contains("/usr/lib/cups/backend/cups-pdf (enforce)");
}

// A queue made from a printer driver's own PPD, set to one of the driver's paper sizes. The
// driver's filters are left out, since cups-pdf cannot read the printer language they would
// make; the paper list, names and printable areas, which is what the program has to read
// right, stay exactly the driver's.
struct DriverQueue
{
    QString name;
    QString driver; // "hpcups", "gutenprint", ...
    QString program;
    QStringList arguments; // the driver's PPD on standard output
    QByteArray pageSize;   // the driver's own name of the paper the queue is set to
};

const QList<DriverQueue>& driverQueues()
{
    const QString driverd = QStringLiteral("/usr/lib/cups/daemon/cups-driverd");
    const QString gutenprint = QStringLiteral("/usr/lib/cups/driver/gutenprint.5.3");
    // An inkjet with strips on every side; one without any; a laser with strips on two.
    const QStringList hp{QStringLiteral("cat"),
                         QStringLiteral("drv:///hpcups.drv/hp-photosmart_c4200_series.ppd")};
    const QStringList epson{QStringLiteral("cat"),
                            QStringLiteral("gutenprint.5.3://escp2-et2750/expert")};
    const QStringList laser{QStringLiteral("cat"), QStringLiteral("gutenprint.5.3://pcl-4/expert")};
    static const QList<DriverQueue> queues{
        {QStringLiteral("hp-a4"), QStringLiteral("hpcups"), driverd, hp, "A4"},
        {QStringLiteral("hp-a5"), QStringLiteral("hpcups"), driverd, hp, "A5"},
        {QStringLiteral("hp-b5"), QStringLiteral("hpcups"), driverd, hp, "B5"},
        {QStringLiteral("hp-letter"), QStringLiteral("hpcups"), driverd, hp, "Letter"},
        {QStringLiteral("epson-a5"), QStringLiteral("gutenprint"), gutenprint, epson, "A5"},
        {QStringLiteral("epson-jis-b5"), QStringLiteral("gutenprint"), gutenprint, epson, "B5"},
        {QStringLiteral("epson-letter"), QStringLiteral("gutenprint"), gutenprint, epson, "Letter"},
        {QStringLiteral("laser-letter"), QStringLiteral("gutenprint"), gutenprint, laser, "Letter"},
    };
    return queues;
}

// The numbers of one keyword's entry for one paper, e.g. *ImageableArea A5/A5: "9 9 410 586".
QList<double> ppdNumbers(const QByteArray& ppd, const QByteArray& keyword, const QByteArray& size)
{
    const QByteArray start = '*' + keyword + ' ' + size;
    for (const QByteArray& line : ppd.split('\n')) {
        const qsizetype open = line.indexOf('"');
        const qsizetype close = line.lastIndexOf('"');
        if (!line.startsWith(start) || line.size() <= start.size() ||
            (line[start.size()] != '/' && line[start.size()] != ':') || close <= open) {
            continue;
        }
        QList<double> numbers;
        for (const QByteArray& word :
             line.mid(open + 1, close - open - 1).simplified().split(' ')) {
            numbers.append(word.toDouble());
        }
        return numbers;
    }
    return {};
}

// The paper the PPD declares for a size, read straight from its text.
std::optional<PaperSetup> ppdPaper(const QByteArray& ppd, const QByteArray& size)
{
    const QList<double> dimension = ppdNumbers(ppd, "PaperDimension", size);
    const QList<double> area = ppdNumbers(ppd, "ImageableArea", size);
    if (dimension.size() != 2 || area.size() != 4) {
        return std::nullopt;
    }
    const double mm = 25.4 / 72;
    PaperSetup paper;
    paper.size = QSizeF(dimension[0], dimension[1]) * mm;
    paper.unprintable =
        QMarginsF(area[0], dimension[1] - area[3], dimension[0] - area[2], area[1]) * mm;
    return paper;
}

QString describe(const PaperSetup& paper)
{
    return QStringLiteral("%1×%2 mm, strips %3 %4 %5 %6")
        .arg(paper.size.width())
        .arg(paper.size.height())
        .arg(paper.unprintable.left())
        .arg(paper.unprintable.top())
        .arg(paper.unprintable.right())
        .arg(paper.unprintable.bottom());
}

bool samePaper(const PaperSetup& a, const PaperSetup& b)
{
    const auto near = [](double x, double y) { return std::abs(x - y) <= 0.1; };
    return near(a.size.width(), b.size.width()) && near(a.size.height(), b.size.height()) &&
           near(a.unprintable.left(), b.unprintable.left()) &&
           near(a.unprintable.top(), b.unprintable.top()) &&
           near(a.unprintable.right(), b.unprintable.right()) &&
           near(a.unprintable.bottom(), b.unprintable.bottom());
}

} // namespace

class TestCupsPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void threePrintoutsLandWhereTheyWereDrawn();
    void registerRowsStayBetweenTheirRules();
    void registerStartsFromTheTurnedPagesPrintableCorner();
    void refusedQueueIsToldAndWaitingQueueToo();
    void driversQueuesPrintOnTheirOwnPaper_data();
    void driversQueuesPrintOnTheirOwnPaper();

private:
    bool run(const QString& program, const QStringList& arguments);
    bool startSpooler(QString& why);
    bool configureBackend(QString& why);
    bool addQueues(QString& why);
    bool addDriverQueues(QString& why);
    void checkInsidePrintableArea(const QString& spooled, const PaperSetup& paper);
    void setDefault(const QString& queue);
    // Prints through the spooler and returns the PDF that cups-pdf wrote, or an empty path.
    QString printThroughSpooler(const std::function<bool(PageDevice&)>& drawing,
                                const QString& jobName);
    QString waitForOutput(int jobId);
    QString printDirect(const std::function<bool(PageDevice&)>& drawing, const PaperSetup& paper,
                        const QString& name);
    void compareInk(const QString& spooled, const QString& direct);

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_socket;
    // The backend's name in the queues' device address and the configuration it reads for it.
    QString m_backendName;
    QString m_backendConf;
    CupsPrintQueue m_queue;
    // The driver queues that could be made, with the paper their PPD declares.
    QHash<QString, PaperSetup> m_driverPaper;
    QStringList m_missingDrivers;
};

bool TestCupsPrinting::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), m_socket);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    return process.waitForFinished(kPatienceMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void TestCupsPrinting::initTestCase()
{
    FontSetup::install();
    const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
    const QString backend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
    if (!QFileInfo::exists(cupsd) || !QFileInfo::exists(backend)) {
        QSKIP("cups or printer-driver-cups-pdf is not installed: no spooler to print through");
    }
    if (!PdfWords::available()) {
        QSKIP("poppler-utils are not installed: the printed PDFs cannot be read back");
    }
    if (geteuid() != 0) {
        QSKIP("the cups-pdf backend only writes files when the spooler runs as root, and this "
              "test runs as an ordinary user");
    }
    QVERIFY(m_dir.isValid());
    // QUILLOA_KEEP_PDF=1 keeps the spooler's folder, its debug log included, for a look.
    m_dir.setAutoRemove(!qEnvironmentVariableIsSet("QUILLOA_KEEP_PDF"));
    if (backendConfinedByAppArmor()) {
        QSKIP("AppArmor confines the cups-pdf backend to its system configuration, so it cannot "
              "be sent to write into this test's own folder");
    }
    QString why;
    QVERIFY2(configureBackend(why), qPrintable(why));
    if (!startSpooler(why)) {
        QSKIP(qPrintable(QStringLiteral("the private cupsd could not be started: ") + why));
    }
    QVERIFY2(addQueues(why), qPrintable(why));
    QVERIFY2(addDriverQueues(why), qPrintable(why));
}

bool TestCupsPrinting::startSpooler(QString& why)
{
    const QDir root(m_dir.path());
    // The spooler's filters run as its own unprivileged user and must reach these folders.
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther);
    for (const char* folder : {"conf", "spool", "cache", "state", "log"}) {
        root.mkpath(QLatin1String(folder));
    }
    QFile::setPermissions(root.filePath(QStringLiteral("spool")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_socket = root.filePath(QStringLiteral("cups.sock"));
    QFile conf(root.filePath(QStringLiteral("conf/cupsd.conf")));
    QFile files(root.filePath(QStringLiteral("conf/cups-files.conf")));
    if (!conf.open(QIODevice::WriteOnly) || !files.open(QIODevice::WriteOnly)) {
        why = QStringLiteral("its configuration could not be written");
        return false;
    }
    const QString level = qEnvironmentVariableIsSet("QUILLOA_KEEP_PDF") ? QStringLiteral("debug")
                                                                        : QStringLiteral("warn");
    conf.write(QStringLiteral("Listen %1\nLogLevel %2\nWebInterface No\nBrowsing No\n"
                              "DefaultAuthType None\nJobKillDelay 5\n"
                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                              "<Policy default>\n  <Limit All>\n    Order allow,deny\n"
                              "    Allow all\n  </Limit>\n</Policy>\n")
                   .arg(m_socket, level)
                   .toUtf8());
    const QString base = m_dir.path();
    files.write(QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                               "StateDir %1/state\nTempDir %1/spool\nErrorLog %1/log/error_log\n"
                               "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                               "DataDir /usr/share/cups\nServerBin /usr/lib/cups\n")
                    .arg(base)
                    .toUtf8());
    conf.close();
    files.close();

    m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"), conf.fileName(),
                   QStringLiteral("-s"), files.fileName()});
    if (!m_cupsd.waitForStarted(10000)) {
        why = m_cupsd.errorString();
        return false;
    }
    // libcups reads the server once, on its first call; nothing has called it before this.
    qputenv("CUPS_SERVER", m_socket.toLocal8Bit());
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(m_socket) && waited.elapsed() < 15000 &&
           m_cupsd.state() == QProcess::Running) {
        QTest::qWait(50);
    }
    if (!QFileInfo::exists(m_socket)) {
        QFile log(root.filePath(QStringLiteral("log/error_log")));
        log.open(QIODevice::ReadOnly);
        why = QStringLiteral("no socket appeared; its log says: ") +
              QString::fromLocal8Bit(log.readAll().right(400)) +
              QString::fromLocal8Bit(m_cupsd.readAllStandardError().right(400));
        return false;
    }
    return true;
}

// The backend writes into this run's folder rather than the home folder's PDF folder, which
// every other run on the machine shares: fresh spoolers all number their jobs from 1, so two
// runs at once write the same file names there and read, overwrite or delete each other's PDFs.
// Every PDF carries its job number (which the drivers' PPDs, unlike the backend's own, do not
// ask for), so that each job's page is found.
bool TestCupsPrinting::configureBackend(QString& why)
{
    removeStaleBackendConfs();
    m_backendName = kBackendPrefix + QString::number(QCoreApplication::applicationPid());
    m_backendConf =
        QDir(kBackendConfFolder).filePath(QStringLiteral("cups-pdf-%1.conf").arg(m_backendName));
    const QDir root(m_dir.path());
    QFile conf(m_backendConf);
    if (!conf.open(QIODevice::WriteOnly) ||
        conf.write(QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nGSTmp %2\nLog %3\nLabel 2\n")
                       .arg(root.filePath(QStringLiteral("out")),
                            root.filePath(QStringLiteral("backend-spool")),
                            root.filePath(QStringLiteral("log")))
                       .toLocal8Bit()) < 0) {
        why =
            QStringLiteral("the backend's configuration could not be written to ") + m_backendConf;
        return false;
    }
    return true;
}

bool TestCupsPrinting::addQueues(QString& why)
{
    const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
    QFile original(ppd);
    if (!original.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("the cups-pdf PPD is missing: ") + ppd;
        return false;
    }
    // The same printer with A4 paper whose edges it cannot print.
    QByteArray narrowed = original.readAll();
    narrowed.replace("*ImageableArea A4/A4: \"0 0 595 842\"",
                     QStringLiteral("*ImageableArea A4/A4: \"%1 %2 %3 %4\"")
                         .arg(kStripLeft)
                         .arg(kStripBottom)
                         .arg(595 - kStripRight)
                         .arg(842 - kStripTop)
                         .toUtf8());
    const QString narrowedPpd = m_dir.filePath(QStringLiteral("margins.ppd"));
    QFile out(narrowedPpd);
    if (!out.open(QIODevice::WriteOnly) || out.write(narrowed) != narrowed.size()) {
        why = QStringLiteral("the narrowed PPD could not be written");
        return false;
    }
    out.close();
    const QString lpadmin = QStringLiteral("/usr/sbin/lpadmin");
    if (!run(lpadmin,
             {QStringLiteral("-p"), kPlainQueue, QStringLiteral("-E"), QStringLiteral("-v"),
              QStringLiteral("cups-pdf:/") + m_backendName, QStringLiteral("-P"), ppd,
              QStringLiteral("-o"), QStringLiteral("PageSize=A4")}) ||
        !run(lpadmin,
             {QStringLiteral("-p"), kMarginQueue, QStringLiteral("-E"), QStringLiteral("-v"),
              QStringLiteral("cups-pdf:/") + m_backendName, QStringLiteral("-P"), narrowedPpd,
              QStringLiteral("-o"), QStringLiteral("PageSize=A4")})) {
        why = QStringLiteral("lpadmin could not add the queues");
        return false;
    }
    setDefault(kPlainQueue);
    return true;
}

bool TestCupsPrinting::addDriverQueues(QString& why)
{
    QHash<QString, QByteArray> ppds; // by driver and model
    for (const DriverQueue& queue : driverQueues()) {
        const QString key = queue.program + queue.arguments.join(u' ');
        if (!ppds.contains(key)) {
            QProcess driver;
            driver.start(queue.program, queue.arguments);
            const bool made = driver.waitForFinished(kPatienceMs) && driver.exitCode() == 0;
            QByteArray ppd = made ? driver.readAllStandardOutput() : QByteArray();
            QByteArrayList kept;
            for (const QByteArray& line : ppd.split('\n')) {
                if (!line.startsWith("*cupsFilter")) {
                    kept.append(line);
                }
            }
            ppds.insert(key, ppd.startsWith("*PPD-Adobe") ? kept.join('\n') : QByteArray());
        }
        const QByteArray& ppd = ppds.value(key);
        if (ppd.isEmpty()) {
            m_missingDrivers.append(queue.driver);
            continue;
        }
        const std::optional<PaperSetup> paper = ppdPaper(ppd, queue.pageSize);
        const QString file = m_dir.filePath(queue.name + QStringLiteral(".ppd"));
        QFile out(file);
        if (!paper || !out.open(QIODevice::WriteOnly) || out.write(ppd) != ppd.size()) {
            why = queue.name + QStringLiteral(": the driver's PPD has no paper ") + queue.pageSize;
            return false;
        }
        out.close();
        if (!run(QStringLiteral("/usr/sbin/lpadmin"),
                 {QStringLiteral("-p"), queue.name, QStringLiteral("-E"), QStringLiteral("-v"),
                  QStringLiteral("cups-pdf:/") + m_backendName, QStringLiteral("-P"), file,
                  QStringLiteral("-o"), QStringLiteral("PageSize=") + queue.pageSize})) {
            why = QStringLiteral("lpadmin could not add ") + queue.name;
            return false;
        }
        m_driverPaper.insert(queue.name, *paper);
    }
    return true;
}

void TestCupsPrinting::setDefault(const QString& queue)
{
    QVERIFY(run(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-d"), queue}));
}

void TestCupsPrinting::cleanupTestCase()
{
    if (m_cupsd.state() == QProcess::Running) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }
    if (!m_backendConf.isEmpty()) {
        QFile::remove(m_backendConf);
    }
}

QString TestCupsPrinting::printThroughSpooler(const std::function<bool(PageDevice&)>& drawing,
                                              const QString& jobName)
{
    SpoolerPageDevice device(m_queue, jobName);
    if (!drawing(device)) {
        qWarning() << "not printed:" << device.errorText();
        return QString();
    }
    return waitForOutput(device.outcome().jobId);
}

// The spooler calls a job completed once the backend has exited, and the backend exits after
// ghostscript has written the PDF; the trailer is checked all the same, so that a file caught
// half written fails as such instead of as a page without ink.
QString TestCupsPrinting::waitForOutput(int jobId)
{
    QElapsedTimer waited;
    waited.start();
    ipp_jstate_t state = IPP_JSTATE_PENDING;
    while (waited.elapsed() < kPatienceMs && state < IPP_JSTATE_STOPPED) {
        QTest::qWait(100);
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
        for (int i = 0; i < count; ++i) {
            if (jobs[i].id == jobId) {
                state = jobs[i].state;
            }
        }
        cupsFreeJobs(count, jobs);
    }
    if (state != IPP_JSTATE_COMPLETED) {
        qWarning() << "job" << jobId << "ended in state" << state << "- see the spooler's log";
        return QString();
    }
    // This run's spooler numbers its jobs afresh and nothing else writes into its folder, so
    // exactly one file carries the job's number.
    const QDir folder(m_dir.filePath(QStringLiteral("out")));
    const QFileInfoList files =
        folder.entryInfoList({QStringLiteral("*job_%1.pdf").arg(jobId)}, QDir::Files);
    if (files.size() != 1) {
        qWarning() << "job" << jobId << "left" << files.size() << "PDFs in" << folder.path()
                   << "- see the backend's log in" << m_dir.filePath(QStringLiteral("log"));
        return QString();
    }
    const QString pdf = files.first().absoluteFilePath();
    if (!completePdf(pdf)) {
        qWarning() << "job" << jobId << "was reported completed before its PDF was:" << pdf;
        return QString();
    }
    return pdf;
}

QString TestCupsPrinting::printDirect(const std::function<bool(PageDevice&)>& drawing,
                                      const PaperSetup& paper, const QString& name)
{
    const QString pdf = m_dir.filePath(name);
    PdfPageDevice device(pdf, paper);
    return drawing(device) ? pdf : QString();
}

// The spooled pages carry their ink where the same printout drawn straight to PDF has it,
// to a tenth of a millimetre. (The spooler rewrites the fonts and drops their text mapping,
// so the pages are compared as printed, pixel by pixel, rather than word by word.)
void TestCupsPrinting::compareInk(const QString& spooled, const QString& direct)
{
    const int pages = PdfWords::pageCount(direct);
    QCOMPARE(PdfWords::pageCount(spooled), pages);
    for (int page = 1; page <= pages; ++page) {
        QImage printed = PdfInk::page(spooled, page);
        const QImage drawn = PdfInk::page(direct, page);
        QVERIFY(!printed.isNull() && !drawn.isNull());
        // A landscape page comes out on upright paper turned a quarter counter-clockwise.
        if (drawn.width() > drawn.height() && printed.height() > printed.width()) {
            printed = printed.transformed(QTransform().rotate(90));
        }
        // The PDF writer gives page sizes in whole points, a driver's paper may measure a
        // fraction more or less: the pages may differ by up to half a point (two pixels), the
        // ink may not.
        const QSize apart = printed.size() - drawn.size();
        QVERIFY2(std::abs(apart.width()) <= 2 && std::abs(apart.height()) <= 2,
                 qPrintable(QStringLiteral("%1×%2 px printed, %3×%4 px drawn")
                                .arg(printed.width())
                                .arg(printed.height())
                                .arg(drawn.width())
                                .arg(drawn.height())));
        // In tiles of 1 cm the ink lies where it was drawn, to a tenth of a millimetre.
        const PdfInk::TileShift shift = PdfInk::tileShift(printed, drawn, 100);
        QVERIFY(shift.tiles > 10);
        QVERIFY2(std::abs(shift.largest.x()) <= 1 && std::abs(shift.largest.y()) <= 1,
                 qPrintable(QStringLiteral("page %1: the tile at %2, %3 px lies %4, %5 px off")
                                .arg(page)
                                .arg(shift.worst.x())
                                .arg(shift.worst.y())
                                .arg(shift.largest.x())
                                .arg(shift.largest.y())));
    }
}

void TestCupsPrinting::threePrintoutsLandWhereTheyWereDrawn()
{
    setDefault(kPlainQueue);
    const PrescriptionPrintout prescription(
        sampleSheet(), PrintMargins(QStringLiteral("20"), QStringLiteral("10")));
    const InjectionCardPrintout card(sampleCard(),
                                     PrintMargins(QStringLiteral("5"), QStringLiteral("3")));
    const QList<std::pair<QString, std::function<bool(PageDevice&)>>> printouts{
        {QStringLiteral("处方 张三 2026-12-08"),
         [&](PageDevice& device) { return prescription.print(device); }},
        {QStringLiteral("注射卡 张三 2026-12-08"),
         [&](PageDevice& device) { return card.print(device); }},
    };
    for (const auto& [name, drawing] : printouts) {
        const QString spooled = printThroughSpooler(drawing, name);
        QVERIFY2(!spooled.isEmpty(), qPrintable(name + QStringLiteral(": no PDF came out")));
        const QString direct = printDirect(drawing, PaperSetup(), name + QStringLiteral(".pdf"));
        compareInk(spooled, direct);
        QFile::remove(spooled);
    }
}

void TestCupsPrinting::registerRowsStayBetweenTheirRules()
{
    setDefault(kPlainQueue);
    const ClinicLogPrintout book(registerGrid(45), QStringLiteral("李医生"));
    const auto drawing = [&](PageDevice& device) { return book.print(device); };
    const QString spooled = printThroughSpooler(drawing, QStringLiteral("门诊日志 2026-12-08"));
    QVERIFY(!spooled.isEmpty());
    QCOMPARE(PdfWords::pageCount(spooled), 3);
    const QString direct = printDirect(drawing, PaperSetup(), QStringLiteral("register.pdf"));
    compareInk(spooled, direct);

    // No glyph touches a rule: the pixel rows 0.2 to 0.3 mm above and below every horizontal
    // rule hold no ink but where the vertical rules cross them. (The page has no unprintable
    // strips, so the margin origin lies 20 mm across and 10 mm down.)
    const auto pixel = [](double millimetres) { return int(std::lround(millimetres * 10)); };
    QList<int> verticals;
    for (double x : {0, 25, 35, 47, 100, 170, 207, 240}) {
        verticals.append(pixel(20 + x));
    }
    for (int page = 1; page <= 3; ++page) {
        const QImage image =
            PdfInk::page(spooled, page).transformed(QTransform().rotate(90)); // turned upright
        QVERIFY(!image.isNull());
        for (int k = 0; k < 22; ++k) {
            const int rule = pixel(10 + 30 + 7 * k);
            const int above =
                PdfInk::inkInRows(image, rule - 3, rule - 2, pixel(20), pixel(260), verticals);
            const int below =
                PdfInk::inkInRows(image, rule + 2, rule + 3, pixel(20), pixel(260), verticals);
            QVERIFY2(above == 0 && below == 0,
                     qPrintable(QStringLiteral("page %1, rule %2: %3 pixels above, %4 below")
                                    .arg(page)
                                    .arg(k)
                                    .arg(above)
                                    .arg(below)));
        }
    }
    const QList<PdfWords::Word> named = PdfWords::words(direct);
    int rowWords = 0;
    for (const PdfWords::Word& word : named) {
        const double top = word.box.top() / 72 * 25.4 - 10;
        rowWords += top >= 37 && top <= 177 ? 1 : 0;
    }
    QVERIFY2(rowWords >= 45 * 6, qPrintable(QString::number(rowWords)));
    // The first visit of page 3 stands at 39 mm, its name at 2 mm, from the margin origin.
    const QList<PdfWords::Word> first = PdfWords::named(named, QStringLiteral("病人41"), 3);
    QCOMPARE(first.size(), 1);
    QVERIFY(std::abs(first[0].box.left() - PdfWords::points(22)) < kTolerance);
    QCOMPARE(PdfWords::named(named, QStringLiteral("第3页共3页")).size(), 1);
    QFile::remove(spooled);
}

void TestCupsPrinting::registerStartsFromTheTurnedPagesPrintableCorner()
{
    setDefault(kMarginQueue);
    const std::optional<PrinterChoice> printer = m_queue.defaultPrinter();
    QVERIFY(printer);
    QCOMPARE(printer->name, kMarginQueue);
    const QMarginsF strips = printer->paper.unprintable * (72 / 25.4);
    QVERIFY2(std::abs(strips.left() - kStripLeft) < 0.5 &&
                 std::abs(strips.top() - kStripTop) < 0.5 &&
                 std::abs(strips.bottom() - kStripBottom) < 0.5,
             qPrintable(QStringLiteral("%1 %2 %3 %4")
                            .arg(strips.left())
                            .arg(strips.top())
                            .arg(strips.right())
                            .arg(strips.bottom())));
    const ClinicLogPrintout book(registerGrid(3), QStringLiteral("李医生"));
    const QString spooled = printThroughSpooler(
        [&](PageDevice& device) { return book.print(device); }, QStringLiteral("门诊日志"));
    QVERIFY(!spooled.isEmpty());
    const QString direct = printDirect([&](PageDevice& device) { return book.print(device); },
                                       printer->paper, QStringLiteral("turned.pdf"));
    compareInk(spooled, direct);
    const QList<PdfWords::Word> words = PdfWords::words(direct);
    // Seen upright, the turned page's printable corner is the paper's bottom strip across and
    // its left strip down; the heading "就诊时间" stands 179 + 20 mm across from it.
    const QList<PdfWords::Word> heading = PdfWords::named(words, QStringLiteral("就诊时间"));
    QCOMPARE(heading.size(), 1);
    QVERIFY2(std::abs(heading[0].box.left() - (kStripBottom + PdfWords::points(199))) < kTolerance,
             qPrintable(QString::number(heading[0].box.left())));
    // The foot still lies inside the printable area: above the turned page's bottom strip.
    const QList<PdfWords::Word> foot = PdfWords::named(words, QStringLiteral("第1页共1页"));
    QCOMPARE(foot.size(), 1);
    QVERIFY(foot[0].box.bottom() < 595 - kStripRight);
    QVERIFY(foot[0].box.right() < 842 - kStripTop);
    QFile::remove(spooled);
    setDefault(kPlainQueue);
}

void TestCupsPrinting::refusedQueueIsToldAndWaitingQueueToo()
{
    setDefault(kPlainQueue);
    const ClinicLogPrintout book(registerGrid(1), QString());
    const auto drawing = [&](PageDevice& device) { return book.print(device); };

    QVERIFY(run(QStringLiteral("/usr/sbin/cupsreject"), {kPlainQueue}));
    {
        SpoolerPageDevice device(m_queue, QStringLiteral("门诊日志"));
        QVERIFY(!drawing(device));
        QVERIFY2(device.errorText().contains(QStringLiteral("不接受打印任务")),
                 qPrintable(device.errorText()));
        QVERIFY(device.errorText().contains(kPlainQueue));
    }
    QVERIFY(run(QStringLiteral("/usr/sbin/cupsaccept"), {kPlainQueue}));

    // A paused printer or a held job keeps the job for later: it went through, but the user
    // hears why nothing comes out and what lets it out.
    const auto keptWaiting = [&](const QString& expected) {
        SpoolerPageDevice device(m_queue, QStringLiteral("门诊日志"));
        QVERIFY2(drawing(device), qPrintable(device.errorText()));
        QVERIFY(device.outcome().jobId > 0);
        QVERIFY2(device.noticeText().contains(expected), qPrintable(device.noticeText()));
        QVERIFY(device.noticeText().contains(kPlainQueue));
        cupsCancelJob(kPlainQueue.toUtf8().constData(), device.outcome().jobId);
    };
    QVERIFY(run(QStringLiteral("/usr/sbin/cupsdisable"), {kPlainQueue}));
    keptWaiting(QStringLiteral("已暂停"));
    QVERIFY(run(QStringLiteral("/usr/sbin/cupsenable"), {kPlainQueue}));
    const QString lpadmin = QStringLiteral("/usr/sbin/lpadmin");
    QVERIFY(run(lpadmin, {QStringLiteral("-p"), kPlainQueue, QStringLiteral("-o"),
                          QStringLiteral("job-hold-until-default=indefinite")}));
    keptWaiting(QStringLiteral("保留"));
    QVERIFY(run(lpadmin, {QStringLiteral("-p"), kPlainQueue, QStringLiteral("-o"),
                          QStringLiteral("job-hold-until-default=no-hold")}));
    // A job that prints has nothing to tell.
    SpoolerPageDevice device(m_queue, QStringLiteral("门诊日志"));
    QVERIFY2(drawing(device), qPrintable(device.errorText()));
    QVERIFY2(device.noticeText().isEmpty(), qPrintable(device.noticeText()));
    QVERIFY(!waitForOutput(device.outcome().jobId).isEmpty());
}

void TestCupsPrinting::driversQueuesPrintOnTheirOwnPaper_data()
{
    QTest::addColumn<QString>("queue");
    for (const DriverQueue& queue : driverQueues()) {
        QTest::newRow(qPrintable(queue.name)) << queue.name;
    }
}

// Each driver calls its papers by its own names and lists borderless and duplex variants of
// the same size beside them; the printout must land on the paper the queue is set to, inside
// the strips that paper's entry declares.
void TestCupsPrinting::driversQueuesPrintOnTheirOwnPaper()
{
    QFETCH(QString, queue);
    if (!m_driverPaper.contains(queue)) {
        QSKIP(qPrintable(QStringLiteral("driver not installed: ") + m_missingDrivers.join(u' ')));
    }
    const PaperSetup expected = m_driverPaper.value(queue);
    setDefault(queue);
    const std::optional<PrinterChoice> printer = m_queue.defaultPrinter();
    QVERIFY(printer && printer->paperKnown);
    QVERIFY2(
        samePaper(printer->paper, expected),
        qPrintable(describe(printer->paper) + QStringLiteral(" instead of ") + describe(expected)));

    const PrescriptionPrintout prescription(sampleSheet(),
                                            PrintMargins(QStringLiteral("5"), QStringLiteral("5")));
    const InjectionCardPrintout card(sampleCard(),
                                     PrintMargins(QStringLiteral("5"), QStringLiteral("3")));
    // The prescription on every paper; the card on the smallest, the register (which needs a
    // landscape page of at least 260 mm across) on Letter, to keep the run short.
    QList<std::pair<QString, std::function<bool(PageDevice&)>>> printouts{
        {QStringLiteral("处方"), [&](PageDevice& device) { return prescription.print(device); }},
    };
    if (expected.size.width() < 150) {
        printouts.append(
            {QStringLiteral("注射卡"), [&](PageDevice& device) { return card.print(device); }});
    }
    const ClinicLogPrintout book(registerGrid(21), QStringLiteral("李医生"));
    if (queue.endsWith(QStringLiteral("letter"))) {
        printouts.append(
            {QStringLiteral("门诊日志"), [&](PageDevice& device) { return book.print(device); }});
    }
    for (const auto& [name, drawing] : printouts) {
        const QString spooled = printThroughSpooler(drawing, name);
        QVERIFY2(!spooled.isEmpty(), qPrintable(name + QStringLiteral(": no PDF came out")));
        const QString direct =
            printDirect(drawing, expected, queue + name + QStringLiteral(".pdf"));
        compareInk(spooled, direct);
        checkInsidePrintableArea(spooled, expected);
        QFile::remove(spooled);
    }
}

// No ink on the strips the paper's entry says the printer cannot print.
void TestCupsPrinting::checkInsidePrintableArea(const QString& spooled, const PaperSetup& paper)
{
    for (int page = 1; page <= PdfWords::pageCount(spooled); ++page) {
        QImage image = PdfInk::page(spooled, page);
        if (image.width() > image.height()) {
            image = image.transformed(QTransform().rotate(90));
        }
        const double pixels = PdfInk::kDotsPerInch / 25.4;
        const QMarginsF strips = paper.unprintable;
        const QRect printable(int(std::ceil(strips.left() * pixels)),
                              int(std::ceil(strips.top() * pixels)),
                              int((paper.size.width() - strips.left() - strips.right()) * pixels),
                              int((paper.size.height() - strips.top() - strips.bottom()) * pixels));
        QCOMPARE(PdfInk::inkOutside(image, printable), 0);
    }
}

QTEST_MAIN(TestCupsPrinting)
#include "TestCupsPrinting.moc"
