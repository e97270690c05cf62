#include "core/entry/SheetLife.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"

#include <QTest>

using namespace quilloa;
using State = SheetLife::State;

// The sheet's life without the window: the states a sheet passes through, the key it keeps, and
// what a record that cannot be shown leaves behind.
class TestSheetLife : public QObject
{
    Q_OBJECT

    static SheetFields typed(const QString& name)
    {
        SheetFields fields;
        fields[sheet::NameField] = name;
        fields[sheet::VisitDateField] = QStringLiteral("2009-03-25");
        fields.body = QStringLiteral("阿莫西林");
        return fields;
    }

private slots:
    void newSheetSavesOnceUnderItsKeyAndShowsAsViewing()
    {
        test::TestProgramFolder folder;
        SheetLife life(folder.context().archive());
        QVERIFY(!life.save(typed(QStringLiteral("张三")), QString()).ok());

        life.start(QDateTime(QDate(2009, 3, 25), QTime(18, 8, 43)));
        QCOMPARE(life.state(), State::NewSheet);
        QCOMPARE(life.recordKey(), QStringLiteral("2009-03-25 18:08:43"));
        const StoreResult<qint64> saved = life.save(typed(QStringLiteral("张三")), QString());
        QVERIFY(saved.ok());
        QCOMPARE(life.state(), State::NoSheet);
        QVERIFY2(!life.save(typed(QStringLiteral("张三")), QString()).ok(), "saved twice");

        life.start(QDateTime(QDate(2009, 3, 26), QTime(8, 0, 0)));
        const StoreResult<PrescriptionRecord> shown = life.show(saved.value());
        QVERIFY(shown.ok());
        QCOMPARE(shown.value().name, QStringLiteral("张三"));
        QCOMPARE(life.state(), State::Viewing);
        QCOMPARE(life.recordKey(), QStringLiteral("2009-03-25 18:08:43"));
        QVERIFY(!life.save(typed(QStringLiteral("李四")), QString()).ok());

        // Deleting a record twice (another room was first) counts as deleted both times.
        const ArchiveEntry entry{saved.value(), QStringLiteral("张三"), life.recordKey()};
        QVERIFY(life.remove(entry).ok());
        QVERIFY(life.remove(entry).ok());
    }

    // A shown sheet whose next record is gone is withdrawn; a sheet being typed is kept.
    void aRecordThatCannotBeShownWithdrawsOnlyAStoredSheet()
    {
        test::TestProgramFolder folder;
        SheetLife life(folder.context().archive());
        life.start(QDateTime(QDate(2009, 3, 25), QTime(18, 8, 43)));
        QVERIFY(!life.show(999).ok());
        QCOMPARE(life.state(), State::NewSheet);
        QVERIFY(!life.isWithdrawn());
        QCOMPARE(life.recordKey(), QStringLiteral("2009-03-25 18:08:43"));

        const qint64 row = life.save(typed(QStringLiteral("张三")), QString()).value();
        QVERIFY(life.show(row).ok());
        {
            test::DamagedStore damaged(folder.paths().archiveFile);
            QVERIFY(!life.show(row).ok());
        }
        QCOMPARE(life.state(), State::NoSheet);
        QVERIFY(life.isWithdrawn());
        QVERIFY(life.recordKey().isEmpty());
        life.start(QDateTime(QDate(2009, 3, 26), QTime(8, 0, 0)));
        QVERIFY(!life.isWithdrawn());
    }

    void pasteKeepsTheVisitDateOfTheSheet()
    {
        test::TestProgramFolder folder;
        SheetLife life(folder.context().archive());
        life.copy(typed(QStringLiteral("张三")));
        const SheetFields pasted = life.pasted(QStringLiteral("2009-04-01"));
        QCOMPARE(pasted[sheet::NameField], QStringLiteral("张三"));
        QCOMPARE(pasted[sheet::VisitDateField], QStringLiteral("2009-04-01"));
        QCOMPARE(pasted.body, QStringLiteral("阿莫西林"));
    }
};

QTEST_GUILESS_MAIN(TestSheetLife)
#include "TestSheetLife.moc"
