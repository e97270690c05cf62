#include "core/backup/BackupCatalog.h"
#include "core/backup/BackupRestore.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "support/ArchiveVisits.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

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
        StoreFile::closeAll();
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
        QCOMPARE(QDir(folder.paths().backupFolder + "/2009-05-10")
                     .entryList(QDir::Files | QDir::Hidden)
                     .size(),
                 2);
    }
};

QTEST_GUILESS_MAIN(TestBackupRestore)
#include "TestBackupRestore.moc"
