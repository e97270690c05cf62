#include "core/maintenance/EntryCodeRules.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/StoreMessage.h"
#include "support/SetUp.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QTest>

using namespace quilloa;
using quilloa::test::DamagedStore;
using quilloa::test::LockedStore;
using quilloa::test::TestProgramFolder;

namespace {

// What the user reads must be Chinese words, never the engine's English.
bool isPlainChinese(const QString& message)
{
    static const QRegularExpression english(QStringLiteral("[A-Za-z]{4,}"));
    QString withoutFile = message;
    withoutFile.remove(QRegularExpression(QStringLiteral("（[^）]*）")));
    return !message.isEmpty() && !english.match(withoutFile).hasMatch();
}

PrescriptionRecord record(const QString& name, const QString& key)
{
    PrescriptionRecord r;
    r.name = name;
    r.key = key;
    return r;
}

} // namespace

class TestStoreFailures : public QObject
{
    Q_OBJECT
private slots:
    void successWithoutValueCannotBeMade()
    {
        const StoreResult<int> result(StoreStatus::success());
        QVERIFY(!result.ok());
        QCOMPARE(result.valueOr(7), 7);
        QVERIFY(!result.error().isEmpty());
    }

    void engineFailuresReadAsPlainChineseWithTheirCause()
    {
        TestProgramFolder folder;
        SettingsStore settings(folder.paths().settingsFile);

        const auto tooLong = settings.add(ReferenceList::Drugs, QString(201, QChar(0x836F)), {});
        QCOMPARE(tooLong.fault(), StoreFault::TooLong);
        QVERIFY(tooLong.error().contains(QStringLiteral("“名称”最多 200 个字")));
        QVERIFY(isPlainChinese(tooLong.error()));

        {
            LockedStore lock(folder.paths().settingsFile);
            QVERIFY(lock.isLocked());
            QElapsedTimer waited;
            waited.start();
            const auto busy = settings.add(ReferenceList::Drugs, QStringLiteral("药"), {});
            // The wait is about a second; the bound leaves room for a busy machine and still
            // catches a wait raised to where the user thinks the program hung.
            QVERIFY2(waited.elapsed() < 3000, qPrintable(QString::number(waited.elapsed())));
            QCOMPARE(busy.fault(), StoreFault::Busy);
            QVERIFY(busy.error().contains(QStringLiteral("被其他程序占用，请关闭它后重试")));
            QVERIFY(busy.error().contains(QStringLiteral("设置.dat")));
        }
        QVERIFY(settings.add(ReferenceList::Drugs, QStringLiteral("药"), {}).ok());

        {
            DamagedStore damaged(folder.paths().archiveFile);
            const auto read = ArchiveStore(folder.paths().archiveFile).loginPassword();
            QCOMPARE(read.fault(), StoreFault::Damaged);
            QVERIFY(read.error().contains(QStringLiteral("已损坏")));
            QVERIFY(isPlainChinese(read.error()));
        }

        // Faults that need a full disk or a read-only folder, told from the engine's codes.
        const QString path = folder.paths().archiveFile;
        const StoreStatus full =
            StoreStatus::failure(QSqlError(QStringLiteral("Unable to fetch row"),
                                           QStringLiteral("database or disk is full"),
                                           QSqlError::StatementError, QStringLiteral("13")),
                                 path);
        QCOMPARE(full.fault(), StoreFault::DiskFull);
        QVERIFY(full.error().contains(QStringLiteral("磁盘已满")));
        const StoreStatus readOnly =
            StoreStatus::failure(QSqlError(QStringLiteral("Unable to fetch row"),
                                           QStringLiteral("attempt to write a readonly database"),
                                           QSqlError::StatementError, QStringLiteral("8")),
                                 path);
        QCOMPARE(readOnly.fault(), StoreFault::ReadOnly);
        QVERIFY(readOnly.error().contains(QStringLiteral("只读")));
        for (const StoreStatus& status : {full, readOnly})
            QVERIFY(isPlainChinese(status.error()));

        StoreConnection::closeAll();
        QVERIFY(QFile::remove(folder.paths().settingsFile));
        const auto missing = settings.settings();
        QCOMPARE(missing.fault(), StoreFault::Missing);
        QVERIFY(missing.error().contains(QStringLiteral("找不到数据文件")));
    }

    // A drug name of up to 200 characters saved without a code of its own gets a code that
    // fits the 50-character code column.
    void longDrugNameKeepsItsCodeWithinTheColumn()
    {
        TestProgramFolder folder;
        const QString name(180, QChar(0x836F));
        const QString code =
            EntryCodeRules::storedDrugCode(EntryCodeRules::drugCodeBox(QString(), name));
        QCOMPARE(code.size(), EntryCodeRules::kCodeLimit);
        QVERIFY(
            SettingsStore(folder.paths().settingsFile).add(ReferenceList::Drugs, name, code).ok());
    }

    // The held connection follows the file: a store replaced while the program runs is read
    // as it now stands, and a store that failed works again at the next try.
    void operationsSeeTheFileAsItStandsNow()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows removes no store this program holds open; nobody can replace it meanwhile");
#endif
        TestProgramFolder folder;
        TestProgramFolder other;
        ArchiveStore archive(folder.paths().archiveFile);
        QVERIFY(
            archive.add(record(QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00"))).ok());
        test::setUp(ArchiveStore(other.paths().archiveFile)
                        .add(record(QStringLiteral("乙"), QStringLiteral("2009-03-02 08:00:00"))));
        QCOMPARE(archive.firstEntries(10).value().size(), 1);

        // Put back like a restored backup: another file under the same name.
        StoreConnection::close(other.paths().archiveFile);
        QVERIFY(QFile::remove(folder.paths().archiveFile));
        QVERIFY(QFile::copy(other.paths().archiveFile, folder.paths().archiveFile));
        const auto entries = archive.firstEntries(10);
        QVERIFY(entries.ok());
        QCOMPARE(entries.value().size(), 1);
        QCOMPARE(entries.value().at(0).name, QStringLiteral("乙"));

        {
            DamagedStore damaged(folder.paths().archiveFile);
            QVERIFY(!archive.firstEntries(10).ok());
            QVERIFY(
                !archive.add(record(QStringLiteral("丙"), QStringLiteral("2009-03-03 08:00:00")))
                     .ok());
        }
        QVERIFY(
            archive.add(record(QStringLiteral("丙"), QStringLiteral("2009-03-03 08:00:00"))).ok());
        QCOMPARE(archive.firstEntries(10).value().size(), 2);

        {
            LockedStore lock(folder.paths().archiveFile);
            QVERIFY(!archive.firstEntries(10).ok());
        }
        QCOMPARE(archive.firstEntries(10).value().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestStoreFailures)
#include "TestStoreFailures.moc"
