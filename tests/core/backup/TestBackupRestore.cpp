#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupRestore.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "support/ArchiveVisits.h"
#include "support/StoreFaults.h"
#include "support/StoreRows.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace quilloa;
using quilloa::test::addVisit;
using quilloa::test::TestProgramFolder;

namespace {

QStringList names(const TestProgramFolder& folder)
{
    const auto entries = ArchiveStore(folder.paths().archiveFile).firstEntries(1000);
    QStringList list;
    for (const ArchiveEntry& entry : entries.valueOr({}))
        list << entry.name;
    return list;
}

// Another program writing the archive on a connection of its own, its transaction left open.
class OtherWriter
{
public:
    explicit OtherWriter(const QString& path)
        : m_name(QStringLiteral("other-writer:") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~OtherWriter()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool exec(const QString& sql) { return QSqlQuery(QSqlDatabase::database(m_name)).exec(sql); }

private:
    QString m_name;
};

const QDateTime kMay10(QDate(2009, 5, 10), QTime(9, 0));
const QDateTime kMay12(QDate(2009, 5, 12), QTime(17, 30, 5));

} // namespace

class TestBackupRestore : public QObject
{
    Q_OBJECT
private slots:
    void restoreRoundTripKeepsTheDataOfBeforeTheRestore()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-05-09 08:00:00", "张三");
        addVisit(folder, "2009-05-10 08:30:00", "李四");
        QVERIFY(SettingsStore(folder.paths().settingsFile)
                    .add(ReferenceList::Diagnoses, "高血压", "gxy")
                    .ok());
        const BackupRestore::Outcome backup = BackupRestore::backUpNow(folder.paths(), kMay10);
        QVERIFY2(backup.ok, qPrintable(backup.message));
        addVisit(folder, "2009-05-11 09:00:00", "王五");
        QVERIFY(SettingsStore(folder.paths().settingsFile)
                    .add(ReferenceList::Diagnoses, "糖尿病", "tnb")
                    .ok());

        const QList<BackupCopy> copies = BackupCatalog::list(folder.paths());
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies[0].name, QStringLiteral("2009-05-10"));
        QVERIFY(copies[0].sound);
        QCOMPARE(copies[0].recordCount, 2);
        QCOMPARE(copies[0].lastVisitDate, QStringLiteral("2009-05-10"));

        const BackupRestore::Outcome restored =
            BackupRestore::restore(folder.paths(), copies[0], kMay12);
        QVERIFY2(restored.ok, qPrintable(restored.message));
        // The stores in use show exactly the backed-up records, without a restart.
        QCOMPARE(names(folder), (QStringList{"张三", "李四"}));
        QCOMPARE(
            SettingsStore(folder.paths().settingsFile).all(ReferenceList::Diagnoses).value().size(),
            1);
        // What was there before is kept, and is itself offered for a restore.
        QCOMPARE(QFileInfo(restored.folder).fileName(),
                 QStringLiteral("恢复前 2009-05-12 17-30-05"));
        const BackupCopy before = BackupCatalog::inspect(restored.folder);
        QVERIFY(before.sound);
        QCOMPARE(before.recordCount, 3);
        QCOMPARE(before.date, QDate(2009, 5, 12));
        QCOMPARE(BackupCatalog::list(folder.paths()).size(), 2);
        QCOMPARE(BackupCatalog::list(folder.paths()).first().name,
                 restored.folder.section('/', -1));
        // And the program goes on writing to the restored store.
        addVisit(folder, "2009-05-12 18:00:00", "赵六");
        QCOMPARE(names(folder), (QStringList{"张三", "李四", "赵六"}));
    }

    // A restore never goes past another program's write: with its uncommitted pages already in
    // the file, or only its write lock held, the restore is refused naming the cause, and the
    // other program's work commits whole afterwards.
    void anotherWritersWorkIsNeverRestoredOver_data()
    {
        QTest::addColumn<bool>("spilled");
        QTest::newRow("pages spilled into the file") << true;
        QTest::newRow("write lock only") << false;
    }

    void anotherWritersWorkIsNeverRestoredOver()
    {
        QFETCH(bool, spilled);
        TestProgramFolder folder;
        addVisit(folder, "2009-05-09 08:00:00", "张三");
        QVERIFY(BackupRestore::backUpNow(folder.paths(), kMay10).ok);
        StoreConnection::closeAll();
        const qint64 sizeBefore = QFileInfo(folder.paths().archiveFile).size();
        OtherWriter other(folder.paths().archiveFile);
        // A cache of a few pages makes a large write spill into the file before its commit.
        QVERIFY(other.exec(QStringLiteral("PRAGMA cache_size = %1").arg(spilled ? 2 : 2000)));
        QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QVERIFY(other.exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
            "INSERT INTO [档案] ([姓名], [名称], [日期]) SELECT '他人' || i, "
            "'2009-05-11 08:00:' || i, '2009-05-11' FROM n")));
        QCOMPARE(QFileInfo(folder.paths().archiveFile).size() > sizeBefore, spilled);

        const BackupRestore::Outcome refused =
            BackupRestore::restore(folder.paths(), BackupCatalog::list(folder.paths())[0], kMay12);
        QVERIFY(!refused.ok);
        QVERIFY2(refused.message.contains(QStringLiteral("被其他程序占用")),
                 qPrintable(refused.message));
        QVERIFY(refused.message.contains(QStringLiteral("现在的数据没有改动")));
        QCOMPARE(BackupCatalog::list(folder.paths()).size(), 1); // no "恢复前" folder left
        QVERIFY(other.exec(QStringLiteral("COMMIT")));
        QCOMPARE(test::fileIntegrity(folder.paths().archiveFile), QStringLiteral("ok"));
        QCOMPARE(names(folder).size(), 301);
    }

    // Each failure names the cause the system gave, never a full disk for a lock.
    void backUpNowOfABusyStoreSaysItIsBusy()
    {
        TestProgramFolder folder;
        test::LockedStore lock(folder.paths().archiveFile);
        QVERIFY(lock.isLocked());
        const BackupRestore::Outcome failed = BackupRestore::backUpNow(folder.paths(), kMay10);
        QVERIFY(!failed.ok);
        QVERIFY2(failed.message.contains(QStringLiteral("被其他程序占用")),
                 qPrintable(failed.message));
        QVERIFY(!failed.message.contains(QStringLiteral("磁盘")));
    }

    // The temporary file of a copy killed midway goes at the next backup; one still being
    // written (recent) stays.
    void staleTemporaryCopiesGoAtTheNextBackup()
    {
        TestProgramFolder folder;
        const QString killedDay = folder.paths().backupFolder + "/2009-04-30";
        QVERIFY(QDir().mkpath(killedDay));
        const QString stale = killedDay + "/档案.dat.1a2b3c4d.part";
        const QString recent = killedDay + "/设置.dat.5e6f7a8b.part";
        for (const QString& path : {stale, recent}) {
            QFile part(path);
            QVERIFY(part.open(QIODevice::WriteOnly));
            part.write(QByteArray(4096, 'x'));
        }
        QFile old(stale);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                QFileDevice::FileModificationTime));
        old.close();
        QVERIFY(BackupRestore::backUpNow(folder.paths(), kMay10).ok);
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo::exists(recent));
    }

    void damagedCopiesAreListedWithTheirProblemAndNeverRestored()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-05-09 08:00:00", "张三");
        const QString broken = folder.paths().backupFolder + "/2009-04-30";
        QVERIFY(QDir().mkpath(broken));
        QFile archive(broken + "/档案.dat");
        QVERIFY(archive.open(QIODevice::WriteOnly));
        archive.write(QByteArray(4096, 'x'));
        archive.close();
        QVERIFY(QFile::copy(folder.paths().settingsFile, broken + "/设置.dat"));
        QVERIFY(QDir().mkpath(folder.paths().backupFolder + "/2009-04-20")); // empty folder
        QVERIFY(QDir().mkpath(folder.paths().backupFolder + "/notes"));      // not a backup

        const QList<BackupCopy> copies = BackupCatalog::list(folder.paths());
        QCOMPARE(copies.size(), 2);
        QCOMPARE(copies[0].name, QStringLiteral("2009-04-30"));
        QVERIFY(!copies[0].sound);
        QCOMPARE(copies[0].problem, QStringLiteral("档案.dat已损坏"));
        QCOMPARE(copies[1].problem, QStringLiteral("缺少档案.dat或设置.dat"));
        const BackupRestore::Outcome refused =
            BackupRestore::restore(folder.paths(), copies[0], kMay12);
        QVERIFY(!refused.ok);
        QVERIFY(refused.message.contains(QStringLiteral("不能恢复")));
        QCOMPARE(names(folder), QStringList{"张三"});
        QVERIFY(!QDir(folder.paths().backupFolder + "/恢复前 2009-05-12 17-30-05").exists());
    }

    void backUpNowReplacesTheDaysCopyOnlyWithASoundOne()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-05-09 08:00:00", "张三");
        QVERIFY(BackupRestore::backUpNow(folder.paths(), kMay10).ok);
        // A damaged archive is not copied over the day's good copy.
        StoreConnection::closeAll();
        QFile archive(folder.paths().archiveFile);
        QVERIFY(archive.open(QIODevice::ReadWrite));
        archive.seek(100);
        archive.write(QByteArray(8000, '\xff'));
        archive.close();
        const BackupRestore::Outcome failed = BackupRestore::backUpNow(folder.paths(), kMay10);
        QVERIFY(!failed.ok);
        QVERIFY(failed.message.contains(QStringLiteral("档案.dat")));
        const BackupCopy kept = BackupCatalog::inspect(folder.paths().backupFolder + "/2009-05-10");
        QVERIFY(kept.sound);
        QCOMPARE(kept.recordCount, 1);
        // The two copies and the note of their pair; no temporary left.
        QCOMPARE(QDir(folder.paths().backupFolder + "/2009-05-10")
                     .entryList(QDir::Files | QDir::Hidden)
                     .size(),
                 3);
    }

    // Two sound files of different days in one folder would restore two days at once: such a
    // pair is not offered. A restore refused before it wrote anything leaves no "恢复前" folder
    // to pass for a backup.
    void mixedPairsAreNotOfferedAndRefusedRestoresLeaveNothing()
    {
        TestProgramFolder folder;
        const StorePaths& paths = folder.paths();
        addVisit(folder, "2009-05-09 08:00:00", "张三");
        QVERIFY(BackupRestore::backUpNow(paths, kMay10).ok);
        addVisit(folder, "2009-05-11 08:00:00", "李四");
        QVERIFY(
            SettingsStore(paths.settingsFile).add(ReferenceList::Diagnoses, "高血压", "gxy").ok());
        QVERIFY(BackupRestore::backUpNow(paths, kMay12).ok);
        const QString may10 = paths.backupFolder + "/2009-05-10";
        QVERIFY(QFile::remove(may10 + "/设置.dat"));
        QVERIFY(QFile::copy(paths.backupFolder + "/2009-05-12/设置.dat", may10 + "/设置.dat"));
        const BackupCopy mixed = BackupCatalog::inspect(may10);
        QVERIFY(!mixed.sound);
        QCOMPARE(mixed.problem, QStringLiteral("档案.dat和设置.dat不是同一次备份的"));

        // The restore's note cannot be written into the data folder (as in a read-only one; a
        // folder in its place stops root too).
        QVERIFY(QDir().mkpath(paths.dataFolder + "/恢复未完成.txt/held"));
        const BackupRestore::Outcome refused = BackupRestore::restore(
            paths, BackupCatalog::inspect(paths.backupFolder + "/2009-05-12"), kMay12);
        QVERIFY2(!refused.ok, qPrintable(refused.message));
        QCOMPARE(QDir(paths.backupFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"2009-05-10", "2009-05-12"}));
    }

    // A copy kept off the machine comes back through every check of a dated copy: a pair whose
    // files were not made together is refused from a chosen folder too.
    void aCopyInAChosenFolderIsWrittenAndRestoredAsAPair()
    {
        TestProgramFolder folder;
        const StorePaths& paths = folder.paths();
        addVisit(folder, "2009-05-09 08:00:00", "张三");
        const QString drive = paths.dataFolder + "/../U盘";
        QVERIFY(QDir().mkpath(drive));
        const BackupRestore::Outcome first = BackupRestore::backUpTo(paths, drive, kMay10);
        QVERIFY2(first.ok, qPrintable(first.message));
        addVisit(folder, "2009-05-10 10:00:00", "李四");
        const BackupRestore::Outcome second = BackupRestore::backUpTo(paths, drive, kMay10);
        QVERIFY2(second.ok, qPrintable(second.message));
        QCOMPARE(QFileInfo(second.folder).fileName(), QStringLiteral("2009-05-10-2"));
        QVERIFY(!BackupRestore::backUpTo(paths, drive + "/gone", kMay10).ok);

        const QList<BackupCopy> copies = BackupCatalog::listIn(drive);
        QCOMPARE(copies.size(), 2);
        QCOMPARE(copies[0].recordCount, 2);
        QVERIFY(BackupRestore::restore(paths, BackupCatalog::listIn(first.folder)[0], kMay12).ok);
        QCOMPARE(names(folder), QStringList{"张三"});

        QVERIFY(
            SettingsStore(paths.settingsFile).add(ReferenceList::Diagnoses, "高血压", "gxy").ok());
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(second.folder + "/设置.dat"));
        QVERIFY(QFile::copy(paths.settingsFile, second.folder + "/设置.dat"));
        const BackupRestore::Outcome mixed = BackupRestore::restore(paths, copies[0], kMay12);
        QVERIFY(!mixed.ok);
        QVERIFY(mixed.message.contains(QStringLiteral("不是同一次备份的")));
        QVERIFY(
            !BackupRestore::restore(paths, BackupCatalog::listIn(paths.dataFolder)[0], kMay12).ok);
        QCOMPARE(names(folder), QStringList{"张三"});
    }
};

QTEST_GUILESS_MAIN(TestBackupRestore)
#include "TestBackupRestore.moc"
