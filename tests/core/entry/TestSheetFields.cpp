#include "core/entry/SheetFields.h"
#include "core/records/Money.h"
#include "core/records/PrescriptionRecord.h"
#include "core/rtf/RtfWriter.h"

#include <QTest>

using namespace quilloa;
using namespace quilloa::sheet;

class TestSheetFields : public QObject
{
    Q_OBJECT

    static PrescriptionRecord storedRecord()
    {
        PrescriptionRecord r;
        r.key = QStringLiteral("2009-03-25 10:00:00");
        r.name = QStringLiteral("张三");
        r.sex = QStringLiteral("男");
        r.age = QStringLiteral("35");
        r.date = QStringLiteral("2009-03-25");
        r.diagnosis = QStringLiteral("上呼吸道感染");
        r.address = QStringLiteral("城东");
        r.doctor = QStringLiteral("李医生");
        r.dispenser = QStringLiteral("王药师");
        r.fee = Money::fromLeadingNumber(QStringLiteral("12.5"));
        r.body = RtfWriter::write(QStringLiteral("阿莫西林\r\n    用法：0.5 tid"),
                                  QStringLiteral("宋体"), 12);
        return r;
    }

private slots:
    // Every field lands under its own index and goes back to its own column: a mapping that
    // slipped by one position would swap two of these distinct texts.
    void eachFieldHasItsOwnColumn()
    {
        const PrescriptionRecord stored = storedRecord();
        const SheetFields shown = SheetFields::fromRecord(stored);
        QCOMPARE(shown[NameField], QStringLiteral("张三"));
        QCOMPARE(shown[SexField], QStringLiteral("男"));
        QCOMPARE(shown[AgeField], QStringLiteral("35"));
        QCOMPARE(shown[VisitDateField], QStringLiteral("2009-03-25"));
        QCOMPARE(shown[DiagnosisField], QStringLiteral("上呼吸道感染"));
        QCOMPARE(shown[AddressField], QStringLiteral("城东"));
        QCOMPARE(shown[DoctorField], QStringLiteral("李医生"));
        QCOMPARE(shown[DispenserField], QStringLiteral("王药师"));
        QCOMPARE(shown[FeeField], stored.fee->toPlainString());
        QCOMPARE(shown.body, QStringLiteral("阿莫西林\r\n    用法：0.5 tid"));

        PrescriptionRecord saved;
        shown.fillRecord(saved);
        QCOMPARE(saved.name, stored.name);
        QCOMPARE(saved.sex, stored.sex);
        QCOMPARE(saved.age, stored.age);
        QCOMPARE(saved.date, stored.date);
        QCOMPARE(saved.diagnosis, stored.diagnosis);
        QCOMPARE(saved.address, stored.address);
        QCOMPARE(saved.doctor, stored.doctor);
        QCOMPARE(saved.dispenser, stored.dispenser);
        QCOMPARE(saved.fee, stored.fee);
        QVERIFY(saved.key.isEmpty()); // the key is the sheet's, not the fields'
    }

    void feeIsTheLeadingNumberOrNothing()
    {
        SheetFields typed;
        PrescriptionRecord saved;
        typed[FeeField] = QStringLiteral("8.50元");
        typed.fillRecord(saved);
        QCOMPARE(saved.fee, Money::fromLeadingNumber(QStringLiteral("8.5")));
        typed[FeeField] = QStringLiteral("免费");
        typed.fillRecord(saved);
        QCOMPARE(saved.fee, std::optional<Money>(Money()));

        PrescriptionRecord noFee = storedRecord();
        noFee.fee.reset();
        QCOMPARE(SheetFields::fromRecord(noFee)[FeeField], QString());
    }
};

QTEST_MAIN(TestSheetFields)
#include "TestSheetFields.moc"
