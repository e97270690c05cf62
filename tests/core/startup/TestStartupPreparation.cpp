#include "core/startup/StartupPreparation.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreFile.h"
#include "support/TestProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>
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
    StoreFile::close(path);
    return entries.ok() ? int(entries.value().size()) : -1;
}

void addRecord(const StorePaths& paths, const QString& key)
{
    PrescriptionRecord r;
    r.key = key;
    ArchiveStore(paths.archiveFile).add(r);
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

    void blankPasswordNeedsNoLogin()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create, at(2009, 5, 21));
        ArchiveStore(folder.paths().archiveFile).setLoginPassword(QStringLiteral("   "));
        QVERIFY(!StartupPreparation::run(folder.paths(), *folder.clock()).needsLogin());
        ArchiveStore(folder.paths().archiveFile).setLoginPassword(QStringLiteral(" Pass "));
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
