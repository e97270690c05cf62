#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupRestore.h"
#include "core/startup/StartupPreparation.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/StoreCopy.h"
#include "core/store/file/StoreSchema.h"
#include "support/FaultyVfs.h"
#include "support/SetUp.h"
#include "support/StoreFaults.h"
#include "support/StoreRows.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <functional>
#include <memory>

#ifdef Q_OS_LINUX
// The store code flushes every copy and replacement it makes; this program's stores need to
// survive no power cut, and on a disk busy with other work those flushes were most of the run.
// Defined in the test program, these stand in for the C library's in it alone.
extern "C" int fsync(int)
{
    return 0;
}
extern "C" int fdatasync(int)
{
    return 0;
}
#endif

using namespace quilloa;
using quilloa::test::FaultyVfs;
using quilloa::test::TestProgramFolder;

namespace {

// One store operation driven into a fault at every point it touches the disk.
struct Scenario
{
    const char* name;
    // Stores what must survive the fault.
    std::function<void(const StorePaths&)> prepare;
    std::function<StoreStatus(const StorePaths&)> act;
    // Checks the stores after the operation; `done` is whether it reported success.
    std::function<void(const StorePaths&, bool done)> verify;
    // The files that must pass the database's integrity check afterwards.
    std::function<QStringList(const StorePaths&)> files;
};

QString backupCopy(const StorePaths& paths)
{
    return paths.backupFolder + QStringLiteral("/2009-05-20/档案.dat");
}

// A plain copy: QFile::copy flushes the copy to disk, which on a busy disk cost more than the
// fault point's own work, and these stores need to survive no power cut.
void copyStore(const QString& from, const QString& to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly) ||
        target.write(source.readAll()) != source.size() ||
        !target.setPermissions(source.permissions()))
        qFatal("cannot copy %s to %s", qPrintable(from), qPrintable(to));
}

PrescriptionRecord record(const QString& name)
{
    PrescriptionRecord r;
    r.name = name;
    r.key = QStringLiteral("2009-03-25 18:08:43");
    return r;
}

SettingsRecord settingsNamed(const QString& clinic)
{
    SettingsRecord r;
    r.clinicName = clinic;
    r.doctor = clinic + QStringLiteral("医生");
    r.dispenser = clinic;
    r.leftMargin = r.topMargin = r.cardLeftMargin = r.cardTopMargin = QStringLiteral("5");
    return r;
}

// Which day both stores come from: the archive's names and the clinic of the settings.
QString storesDay(const StorePaths& p)
{
    StoreConnection::closeAll();
    return test::fileNames(p.archiveFile).join(QLatin1Char(',')) + QLatin1Char('/') +
           SettingsStore(p.settingsFile).settings().valueOr(SettingsRecord()).clinicName;
}

// The same for the pair of a backup folder, read without opening it as a store (which would
// bring it up to date, and so change it).
QString pairDay(const QString& folder)
{
    return test::fileNames(folder + QStringLiteral("/档案.dat")).join(QLatin1Char(',')) +
           QLatin1Char('/') +
           test::fileRows(folder + QStringLiteral("/设置.dat"), QStringLiteral("设置"))
               .value(0)
               .section(QLatin1Char('|'), -1);
}

const QDateTime kBackupMorning(QDate(2009, 5, 10), QTime(9, 0));

// The stores of 甲/城东 backed up on the morning of the 10th, then 乙 and 城西 saved.
void backedUpThenChanged(const StorePaths& p)
{
    test::setUp(ArchiveStore(p.archiveFile).add(record("甲")));
    test::setUp(SettingsStore(p.settingsFile).setSettings(settingsNamed("城东")));
    BackupRestore::backUpNow(p, kBackupMorning);
    test::setUp(ArchiveStore(p.archiveFile).add(record("乙")));
    test::setUp(SettingsStore(p.settingsFile).setSettings(settingsNamed("城西")));
}

QString morningFolder(const StorePaths& p)
{
    return p.backupFolder + QStringLiteral("/2009-05-10");
}

QList<Scenario> scenarios()
{
    const auto archiveOnly = [](const StorePaths& p) { return QStringList{p.archiveFile}; };
    const auto settingsOnly = [](const StorePaths& p) { return QStringList{p.settingsFile}; };
    return {
        {"save",
         [](const StorePaths& p) { test::setUp(ArchiveStore(p.archiveFile).add(record("甲"))); },
         [](const StorePaths& p) {
             return StoreStatus(ArchiveStore(p.archiveFile).add(record("乙")));
         },
         [](const StorePaths& p, bool done) {
             QCOMPARE(test::fileNames(p.archiveFile),
                      done ? QStringList({"甲", "乙"}) : QStringList({"甲"}));
         },
         archiveOnly},
        {"delete",
         [](const StorePaths& p) {
             test::setUp(ArchiveStore(p.archiveFile).add(record("甲")));
             test::setUp(ArchiveStore(p.archiveFile).add(record("乙")));
         },
         [](const StorePaths& p) {
             return ArchiveStore(p.archiveFile).remove(2, QStringLiteral("2009-03-25 18:08:43"));
         },
         [](const StorePaths& p, bool done) {
             QCOMPARE(test::fileNames(p.archiveFile),
                      done ? QStringList({"甲"}) : QStringList({"甲", "乙"}));
         },
         archiveOnly},
        {"settings",
         [](const StorePaths& p) {
             test::setUp(SettingsStore(p.settingsFile).setSettings(settingsNamed("城东")));
         },
         [](const StorePaths& p) {
             return SettingsStore(p.settingsFile).setSettings(settingsNamed("城西"));
         },
         [](const StorePaths& p, bool done) {
             StoreConnection::close(p.settingsFile);
             const SettingsRecord r = SettingsStore(p.settingsFile).settings().value();
             const QString expected = done ? QStringLiteral("城西") : QStringLiteral("城东");
             QCOMPARE(r.clinicName, expected);
             QCOMPARE(r.doctor, expected + QStringLiteral("医生"));
         },
         settingsOnly},
        {"reference list",
         [](const StorePaths& p) {
             test::setUp(SettingsStore(p.settingsFile)
                             .add(ReferenceList::Drugs, QStringLiteral("青霉素针"),
                                  QStringLiteral("qmsz")));
         },
         [](const StorePaths& p) {
             return SettingsStore(p.settingsFile)
                 .update(ReferenceList::Drugs, 1, QStringLiteral("阿莫西林"),
                         QStringLiteral("amxl"));
         },
         [](const StorePaths& p, bool done) {
             StoreConnection::close(p.settingsFile);
             const auto drugs = SettingsStore(p.settingsFile).all(ReferenceList::Drugs).value();
             QCOMPARE(drugs.size(), 1);
             QCOMPARE(drugs.at(0).name(),
                      done ? QStringLiteral("阿莫西林") : QStringLiteral("青霉素针"));
         },
         settingsOnly},
        {"template build",
         [](const StorePaths& p) {
             StoreConnection::closeAll();
             QFile::remove(p.archiveFile);
         },
         [](const StorePaths& p) { return StoreSchema::createArchiveStore(p.archiveFile); },
         [](const StorePaths& p, bool done) {
             // A failed build leaves nothing behind; the next start builds it again.
             QCOMPARE(QFileInfo::exists(p.archiveFile), done);
             QCOMPARE(QDir(p.dataFolder).entryList(QDir::Files).filter(QStringLiteral(".new")),
                      QStringList());
             if (done)
                 QVERIFY(StoreCopy::check(p.archiveFile, StoreKind::Archive).ok());
         },
         [](const StorePaths& p) {
             return QFileInfo::exists(p.archiveFile) ? QStringList{p.archiveFile} : QStringList{};
         }},
        {"restore", backedUpThenChanged,
         [](const StorePaths& p) {
             const BackupRestore::Outcome outcome =
                 BackupRestore::restore(p, BackupCatalog::inspect(morningFolder(p)),
                                        QDateTime(QDate(2009, 5, 12), QTime(9, 0)));
             return outcome.ok ? StoreStatus::success() : StoreStatus::failure(outcome.message);
         },
         [](const StorePaths& p, bool done) {
             // Both stores of the backup, or both as they were: never one of each.
             QCOMPARE(storesDay(p),
                      done ? QStringLiteral("甲/城东") : QStringLiteral("甲,乙/城西"));
             const QStringList left = QDir(p.dataFolder).entryList(QDir::Files);
             QVERIFY2(left == QStringList({"档案.dat", "设置.dat"}), qPrintable(left.join(' ')));
         },
         [](const StorePaths& p) {
             return QStringList{p.archiveFile, p.settingsFile};
         }},
        {"backup now", backedUpThenChanged,
         [](const StorePaths& p) {
             const BackupRestore::Outcome outcome =
                 BackupRestore::backUpNow(p, kBackupMorning.addSecs(3600));
             return outcome.ok ? StoreStatus::success() : StoreStatus::failure(outcome.message);
         },
         [](const StorePaths& p, bool done) {
             // The day's pair is the new one or the old one, never one file of each, and it is
             // offered for a restore either way.
             QCOMPARE(pairDay(morningFolder(p)),
                      done ? QStringLiteral("甲,乙/城西") : QStringLiteral("甲/城东"));
             QVERIFY(BackupCatalog::inspect(morningFolder(p)).sound);
         },
         [](const StorePaths& p) {
             return QStringList{morningFolder(p) + QStringLiteral("/档案.dat"),
                                morningFolder(p) + QStringLiteral("/设置.dat")};
         }},
        {"backup copy",
         [](const StorePaths& p) {
             test::setUp(ArchiveStore(p.archiveFile).add(record("甲")));
             QDir().mkpath(QFileInfo(backupCopy(p)).absolutePath());
             test::setUp(StoreCopy::copyChecked(p.archiveFile, backupCopy(p), StoreKind::Archive));
             test::setUp(ArchiveStore(p.archiveFile).add(record("乙")));
         },
         [](const StorePaths& p) {
             return StoreCopy::copyChecked(p.archiveFile, backupCopy(p), StoreKind::Archive);
         },
         [](const StorePaths& p, bool done) {
             // The day's copy is the old one or the new one, whole, and nothing else is left.
             QCOMPARE(test::fileNames(backupCopy(p)),
                      done ? QStringList({"甲", "乙"}) : QStringList({"甲"}));
             QCOMPARE(QDir(QFileInfo(backupCopy(p)).absolutePath()).entryList(QDir::Files),
                      QStringList({"档案.dat"}));
         },
         [](const StorePaths& p) {
             return QStringList{p.archiveFile, backupCopy(p)};
         }},
    };
}

} // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT

    // A program folder with fresh stores copied from ones built once: building them at every
    // point would cost most of the run.
    std::unique_ptr<TestProgramFolder> freshFolder() const
    {
        auto folder = std::make_unique<TestProgramFolder>(TestProgramFolder::Stores::None);
        const StorePaths& paths = folder->paths();
        QDir().mkpath(paths.dataFolder);
        copyStore(m_pristine->paths().archiveFile, paths.archiveFile);
        copyStore(m_pristine->paths().settingsFile, paths.settingsFile);
        return folder;
    }

    // Returns false once the fault point lies beyond the operation's last disk access.
    bool runAt(const Scenario& scenario, FaultyVfs::Operation operation, FaultyVfs::Failure failure,
               int nth)
    {
        const std::unique_ptr<TestProgramFolder> folder = freshFolder();
        const StorePaths& paths = folder->paths();
        scenario.prepare(paths);
        FaultyVfs::arm(operation, nth, failure);
        const StoreStatus first = scenario.act(paths);
        FaultyVfs::disarm();
        if (!FaultyVfs::fired())
            return false;
        if (!first.ok()) {
            if (first.error().isEmpty())
                qFatal("%s: a failure without a message", scenario.name);
        }
        scenario.verify(paths, first.ok());
        if (QTest::currentTestFailed())
            return false;
        for (const QString& file : scenario.files(paths)) {
            const QString integrity = test::fileIntegrity(file);
            if (integrity != QLatin1String("ok"))
                qFatal("%s, fault %d at %d: %s is %s", scenario.name, int(operation), nth,
                       qPrintable(file), qPrintable(integrity));
        }
        if (!first.ok()) {
            // The program, still running, succeeds at the next try.
            const StoreStatus retry = scenario.act(paths);
            if (!retry.ok())
                qFatal("%s, fault %d at %d: retry failed: %s", scenario.name, int(operation), nth,
                       qPrintable(retry.detail()));
            scenario.verify(paths, true);
        }
        return !QTest::currentTestFailed();
    }

    std::unique_ptr<TestProgramFolder> m_pristine;

private slots:
    void initTestCase()
    {
        FaultyVfs::install();
        m_pristine = std::make_unique<TestProgramFolder>();
        StoreConnection::closeAll();
    }

    void everyFaultPointIsToldAndLosesNothing_data()
    {
        QTest::addColumn<int>("scenario");
        const QList<Scenario> all = scenarios();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all.at(i).name) << i;
    }

    void everyFaultPointIsToldAndLosesNothing()
    {
        QFETCH(int, scenario);
        const Scenario s = scenarios().at(scenario);
        const std::pair<FaultyVfs::Operation, FaultyVfs::Failure> faults[] = {
            {FaultyVfs::Operation::Write, FaultyVfs::Failure::IoError},
            {FaultyVfs::Operation::Write, FaultyVfs::Failure::DiskFull},
            {FaultyVfs::Operation::Sync, FaultyVfs::Failure::IoError},
            {FaultyVfs::Operation::Lock, FaultyVfs::Failure::IoError},
            {FaultyVfs::Operation::Open, FaultyVfs::Failure::IoError},
        };
        int points = 0;
        for (const auto& [operation, failure] : faults) {
            for (int nth = 1; runAt(s, operation, failure, nth); ++nth)
                ++points;
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY2(points > 0, "no fault point reached");
    }

    // A disk that fills up during a restore's writes, and stays full while the restore tries to
    // put the stores back: the message says what the stores hold, and the next start leaves
    // them as they were before the restore, never finishing it from the older backup.
    void aRestoreOutOfRoomEndsAsToldAtTheNextStart()
    {
        int failures = 0;
        for (int nth = 1;; ++nth) {
            const std::unique_ptr<TestProgramFolder> folder = freshFolder();
            const StorePaths& paths = folder->paths();
            backedUpThenChanged(paths);
            FaultyVfs::arm(FaultyVfs::Operation::Write, nth, FaultyVfs::Failure::DiskFull,
                           FaultyVfs::Lasting::FromThenOn);
            const BackupRestore::Outcome outcome = BackupRestore::restore(
                paths, BackupCatalog::inspect(morningFolder(paths)), kBackupMorning.addDays(2));
            FaultyVfs::disarm();
            if (!FaultyVfs::fired())
                break;
            QVERIFY2(!outcome.ok, qPrintable(outcome.message));
            ++failures;
            // As the program's next opening of each store would, a write the full disk kept from
            // rolling back is rolled back first.
            for (const QString& store : {paths.archiveFile, paths.settingsFile})
                QCOMPARE(test::fileIntegrity(store), QStringLiteral("ok"));
            if (outcome.message.contains(QStringLiteral("现在的数据没有改动")))
                QCOMPARE(storesDay(paths), QStringLiteral("甲,乙/城西"));
            else
                QVERIFY2(outcome.message.contains(QStringLiteral("档案.dat 现在是备份")),
                         qPrintable(outcome.message));
            const StartupReport next = StartupPreparation::run(paths, *folder->clock());
            QCOMPARE(storesDay(paths), QStringLiteral("甲,乙/城西"));
            QCOMPARE(QDir(paths.dataFolder).entryList(QDir::Files),
                     QStringList({"档案.dat", "设置.dat"}));
            QVERIFY2(!next.notices.join(' ').contains(QStringLiteral("恢复做完")),
                     qPrintable(next.notices.join(' ')));
        }
        QVERIFY(failures > 0);
    }

    // A damaged page that start-up did not look at (an archive too large to check whole) is
    // met by a read: told as damage with the way back, never as an empty list, and from then on
    // the archive takes no save, which could land beside the damage and be lost with it.
    void aDamagedPageIsToldAndTakesNoSave()
    {
        const std::unique_ptr<TestProgramFolder> folder = freshFolder();
        const StorePaths& paths = folder->paths();
        for (int i = 0; i < 200; ++i) {
            PrescriptionRecord r = record(QStringLiteral("病人%1").arg(i));
            r.date = QStringLiteral("2009-03-25");
            QVERIFY(ArchiveStore(paths.archiveFile).add(r).ok());
        }
        StoreConnection::closeAll();
        QVERIFY(test::damageTablePage(paths.archiveFile, QStringLiteral("档案")));
        const QByteArray damaged = [&] {
            QFile f(paths.archiveFile);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        const ArchiveStore archive(paths.archiveFile);
        for (const StoreStatus& read :
             {StoreStatus(archive.search(QString(), QStringLiteral("2009-03"))),
              StoreStatus(archive.firstEntries(100))}) {
            QCOMPARE(read.fault(), StoreFault::Damaged);
            QVERIFY2(read.error().contains(QStringLiteral("恢复备份")), qPrintable(read.error()));
        }
        const auto saved = ArchiveStore(paths.archiveFile).add(record("丙"));
        QCOMPARE(saved.fault(), StoreFault::Damaged);
        StoreConnection::closeAll();
        QFile after(paths.archiveFile);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QVERIFY2(after.readAll() == damaged, "the damaged archive was written to");
    }
};

QTEST_GUILESS_MAIN(TestFaultInjection)
#include "TestFaultInjection.moc"
