#include "core/startup/StartupPreparation.h"
#include "core/store/ArchiveStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/file/StoreCopy.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace quilloa;
using quilloa::test::DamagedStore;
using quilloa::test::LockedStore;
using quilloa::test::TestProgramFolder;

namespace {

QDateTime backupDay()
{
    return QDateTime(QDate(2009, 5, 20), QTime(9, 0));
}

void addRecord(const QString& archive, const QString& key)
{
    PrescriptionRecord r;
    r.name = QStringLiteral("张三");
    r.key = key;
    QVERIFY(ArchiveStore(archive).add(r).ok());
}

int recordsIn(const QString& path)
{
    const auto entries = ArchiveStore(path).firstEntries(1000);
    StoreConnection::close(path);
    return entries.ok() ? int(entries.value().size()) : -1;
}

// Nothing but the copies themselves: no temporary file is ever left beside them.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files);
}

} // namespace

class TestStoreCopy : public QObject
{
    Q_OBJECT
private slots:
    // A busy or damaged store never replaces the day's good copy; the reason is told.
    void backupReplacesTheDaysCopyOnlyBySoundOnes()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create, backupDay());
        const StorePaths& paths = folder.paths();
        addRecord(paths.archiveFile, QStringLiteral("2009-05-20 08:00:00"));
        QVERIFY(StartupPreparation::takeBackup(paths, backupDay().date()));
        const QString day = paths.backupFolder + QStringLiteral("/2009-05-20");
        const QString copy = day + QStringLiteral("/档案.dat");
        QCOMPARE(recordsIn(copy), 1);
        QVERIFY(StoreCopy::check(copy, StoreKind::Archive).ok());
        QVERIFY(StoreCopy::check(day + QStringLiteral("/设置.dat"), StoreKind::Settings).ok());

        addRecord(paths.archiveFile, QStringLiteral("2009-05-20 09:00:00"));
        {
            LockedStore lock(paths.archiveFile);
            QStringList notices;
            QVERIFY(!StartupPreparation::takeBackup(paths, backupDay().date(), &notices));
            QCOMPARE(notices.size(), 1);
            QVERIFY(notices.at(0).contains(QStringLiteral("被其他程序占用")));
            QVERIFY(notices.at(0).contains(QStringLiteral("已有的备份保持不变")));
        }
        QCOMPARE(recordsIn(copy), 1);
        {
            DamagedStore damaged(paths.archiveFile);
            QStringList notices;
            QVERIFY(!StartupPreparation::takeBackup(paths, backupDay().date(), &notices));
            QVERIFY(notices.at(0).contains(QStringLiteral("已损坏")));
            QVERIFY(notices.at(0).contains(copy));
        }
        QCOMPARE(recordsIn(copy), 1);
        QCOMPARE(filesIn(day), QStringList({"档案.dat", "设置.dat"}));

        QVERIFY(StartupPreparation::takeBackup(paths, backupDay().date()));
        QCOMPARE(recordsIn(copy), 2);
        QCOMPARE(filesIn(day), QStringList({"档案.dat", "设置.dat"}));
    }

    void checkRefusesWhatIsNotASoundStoreOfItsKind()
    {
        TestProgramFolder folder;
        QVERIFY(StoreCopy::check(folder.paths().archiveFile, StoreKind::Archive).ok());
        QCOMPARE(StoreCopy::check(folder.paths().archiveFile, StoreKind::Settings).fault(),
                 StoreFault::Damaged);
        StoreConnection::closeAll();
        QFile::resize(folder.paths().settingsFile, 1000);
        QCOMPARE(StoreCopy::check(folder.paths().settingsFile, StoreKind::Settings).fault(),
                 StoreFault::Damaged);
    }

    // A damaged store at start is named with its dated copies and never written over.
    void damagedStoreIsNamedWithItsCopies()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create, backupDay());
        QVERIFY(StartupPreparation::takeBackup(folder.paths(), backupDay().date()));
        folder.clock()->set(QDateTime(QDate(2009, 5, 21), QTime(9, 0)));
        DamagedStore damaged(folder.paths().settingsFile);
        const StartupReport report = StartupPreparation::run(folder.paths(), *folder.clock());
        QCOMPARE(report.notices.size(), 1);
        QVERIFY(report.notices.at(0).contains(QStringLiteral("设置.dat")));
        QVERIFY(report.notices.at(0).contains(QStringLiteral("2009-05-20/设置.dat")));
        QFile file(folder.paths().settingsFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(8192, 'x'));
    }
};

QTEST_GUILESS_MAIN(TestStoreCopy)
#include "TestStoreCopy.moc"
