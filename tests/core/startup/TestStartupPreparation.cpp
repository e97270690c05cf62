#include "core/startup/StartupPreparation.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "support/SetUp.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

#include <memory>
using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

QDateTime at(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(9, 0, 0));
}

QString backupOf(const TestProgramFolder& folder, const QString& day, const QString& file)
{
    return folder.paths().backupFolder + QLatin1Char('/') + day + QLatin1Char('/') + file;
}

// The backup copy opens as a store on its own and holds what the original held.
int recordsInCopy(const QString& path)
{
    StoreResult<QList<ArchiveEntry>> entries = ArchiveStore(path).firstEntries(1000);
    StoreConnection::close(path);
    return entries.ok() ? int(entries.value().size()) : -1;
}

void addRecord(const StorePaths& paths, const QString& key)
{
    PrescriptionRecord r;
    r.key = key;
    test::setUp(ArchiveStore(paths.archiveFile).add(r));
}

} // namespace

class TestStartupPreparation : public QObject
{
    Q_OBJECT
private slots:
    void firstStartCreatesStoresWithoutLogin()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None, at(2009, 5, 21));
        const StartupReport report = StartupPreparation::run(folder.paths(), *folder.clock());
        QVERIFY(report.archiveCreated);
        QVERIFY(report.settingsCreated);
        QVERIFY(!report.needsLogin());
        QVERIFY(!report.backupTaken);
        QVERIFY(!QFileInfo::exists(folder.paths().backupFolder));
        const SettingsRecord settings =
            SettingsStore(folder.paths().settingsFile).settings().value();
        QCOMPARE(settings.topMargin + settings.leftMargin + settings.cardTopMargin +
                     settings.cardLeftMargin,
                 QStringLiteral("0000"));
        // The new installation comes with a few entries to try the lookups with.
        QVERIFY(!SettingsStore(folder.paths().settingsFile)
                     .all(ReferenceList::Drugs)
                     .value()
                     .isEmpty());
    }

    void backupDaysCopyAndOverwrite()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None, at(2009, 5, 20));
        const StartupReport first = StartupPreparation::run(folder.paths(), *folder.clock());
        QVERIFY(first.backupTaken);
        const QString archiveCopy =
            backupOf(folder, QStringLiteral("2009-05-20"), QStringLiteral("档案.dat"));
        QVERIFY(QFileInfo::exists(archiveCopy));
        QVERIFY(QFileInfo::exists(
            backupOf(folder, QStringLiteral("2009-05-20"), QStringLiteral("设置.dat"))));
        QCOMPARE(recordsInCopy(archiveCopy), 0);

        addRecord(folder.paths(), QStringLiteral("2009-05-20 10:00:00"));
        QVERIFY(StartupPreparation::run(folder.paths(), *folder.clock()).backupTaken);
        QCOMPARE(recordsInCopy(archiveCopy), 1);

        for (const QDateTime& day : {at(2009, 5, 21), at(2009, 5, 31)}) {
            folder.clock()->set(day);
            QVERIFY(!StartupPreparation::run(folder.paths(), *folder.clock()).backupTaken);
        }
        QCOMPARE(QDir(folder.paths().backupFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({QStringLiteral("2009-05-20")}));

        folder.clock()->set(at(2009, 5, 30));
        QVERIFY(StartupPreparation::run(folder.paths(), *folder.clock()).backupTaken);
        QCOMPARE(recordsInCopy(archiveCopy), 1); // older days are kept
    }

    // The copies of a backup day run beside the first window; a start later that day copies
    // again what was saved after the first, so no record of the day is in no backup.
    void aLaterStartOfABackupDayCopiesWhatWasSavedSince()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create, at(2009, 5, 20));
        const QString copy =
            backupOf(folder, QStringLiteral("2009-05-20"), QStringLiteral("档案.dat"));
        const auto startAt = [&folder](int hour) {
            folder.clock()->set(QDateTime(QDate(2009, 5, 20), QTime(hour, 0)));
            const StartupReport report =
                StartupPreparation::run(folder.context(), StartupPreparation::Backup::Later);
            const auto work = StartupPreparation::backupWork(folder.context(), report);
            QVERIFY(work);
            QCOMPARE((*work)([](const QString&) {}), QStringList());
        };
        startAt(9);
        QCOMPARE(recordsInCopy(copy), 0);
        addRecord(folder.paths(), QStringLiteral("2009-05-20 10:00:00"));
        startAt(18);
        QCOMPARE(recordsInCopy(copy), 1);
    }

    void blankPasswordNeedsNoLogin()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create, at(2009, 5, 21));
        test::setUp(
            ArchiveStore(folder.paths().archiveFile).setLoginPassword(QStringLiteral("   ")));
        QVERIFY(!StartupPreparation::run(folder.paths(), *folder.clock()).needsLogin());
        test::setUp(
            ArchiveStore(folder.paths().archiveFile).setLoginPassword(QStringLiteral(" Pass ")));
        const StartupReport report = StartupPreparation::run(folder.paths(), *folder.clock());
        QVERIFY(report.needsLogin());
        QCOMPARE(report.loginPassword, QStringLiteral(" Pass "));
    }

    void damagedStoreIsNeverWrittenOver()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None, at(2009, 5, 10));
        QDir().mkpath(folder.paths().dataFolder);
        const QByteArray junk("not a store");
        for (const QString& path : {folder.paths().archiveFile, folder.paths().settingsFile}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(junk);
        }
        const StartupReport report = StartupPreparation::run(folder.paths(), *folder.clock());
        QVERIFY(!report.archiveCreated);
        QVERIFY(!report.settingsCreated);
        // Whether a login is needed cannot be told from a damaged archive store.
        QVERIFY(report.loginUnknown());
        QFile archive(folder.paths().archiveFile);
        QVERIFY(archive.open(QIODevice::ReadOnly));
        QCOMPARE(archive.readAll(), junk);
    }

    // Every store that cannot be read is named at start with its cause and its dated copies,
    // before an empty list could pass for the clinic's data.
    void unreadableStoresAreNamedAtStart_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("cause");
        QTest::newRow("settings locked") << "locked"
                                         << "设置.dat"
                                         << "被其他程序占用";
        QTest::newRow("settings with damaged pages") << "pages"
                                                     << "设置.dat"
                                                     << "已损坏";
        QTest::newRow("archive with damaged pages") << "pages"
                                                    << "档案.dat"
                                                    << "已损坏";
        QTest::newRow("archive of zero length") << "empty"
                                                << "档案.dat"
                                                << "是空文件";
        QTest::newRow("settings unreadable") << "mode000"
                                             << "设置.dat"
                                             << "没有读取权限";
    }

    void unreadableStoresAreNamedAtStart()
    {
        QFETCH(QString, kind);
        QFETCH(QString, file);
        QFETCH(QString, cause);
        TestProgramFolder folder(TestProgramFolder::Stores::Create, at(2009, 5, 10));
        for (int i = 0; i < 200; ++i)
            addRecord(folder.paths(), QStringLiteral("2009-05-09 08:%1:00").arg(i % 60));
        StartupPreparation::run(folder.paths(), *folder.clock()); // the dated copies
        StoreConnection::closeAll();
        const QString path = folder.paths().dataFolder + QLatin1Char('/') + file;
        std::unique_ptr<test::LockedStore> lock;
        QFile store(path);
        if (kind == "locked") {
            lock = std::make_unique<test::LockedStore>(path);
        } else if (kind == "pages") {
            // Garbage over the pages after the first: the schema still reads.
            QVERIFY(store.open(QIODevice::ReadWrite));
            store.seek(4096);
            store.write(QByteArray(int(store.size() - 4096), '\x5a'));
        } else if (kind == "empty") {
            QVERIFY(store.resize(0));
        } else {
#ifdef Q_OS_WIN
            QSKIP("Windows keeps read rights in access lists, not in a file's mode");
#endif
            QVERIFY(store.setPermissions(QFileDevice::Permissions()));
            if (store.open(QIODevice::ReadOnly))
                QSKIP("running with rights that ignore file permissions");
        }
        store.close();
        folder.clock()->set(at(2009, 5, 11));
        const StartupReport report = StartupPreparation::run(folder.paths(), *folder.clock());
        store.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (kind == "empty") {
            // Named as empty where the login could not be read either, and never made into a
            // new store behind the notice that it was left alone.
            QCOMPARE(QFileInfo(path).size(), 0);
            QVERIFY(StartupPreparation::unusableStoreNotice(folder.paths(), report.loginRead)
                        .contains(QStringLiteral("是空文件")));
        }
        const QString told = report.notices.join(QLatin1Char('\n'));
        QVERIFY2(told.contains(QStringLiteral("数据文件“%1”%2").arg(file, cause)),
                 qPrintable(told));
        QVERIFY2(told.contains(backupOf(folder, "2009-05-10", file)), qPrintable(told));
    }

    void unwritableProgramFolderStillStarts()
    {
        // A program folder below a plain file can never hold a data folder, even for root.
        TestProgramFolder folder(TestProgramFolder::Stores::None, at(2009, 5, 20));
        QFile blocker(folder.path() + QStringLiteral("/blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const StorePaths paths(blocker.fileName() + QStringLiteral("/program"));
        const StartupReport report = StartupPreparation::run(paths, *folder.clock());
        QVERIFY(!report.archiveCreated);
        QVERIFY(!report.needsLogin());
        QVERIFY(!report.backupTaken);
    }
};

QTEST_GUILESS_MAIN(TestStartupPreparation)
#include "TestStartupPreparation.moc"
