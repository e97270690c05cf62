#include "core/reports/ClinicLogRows.h"

#include <QTest>

using namespace quilloa;

class TestClinicLogRows : public QObject
{
    Q_OBJECT
private slots:
    // Rows spread over many shared blocks keep each its own texts after the read is over, and
    // the visit time is the key's first 16 characters, however the key is written.
    void rowsKeepTheirTextsAcrossBlocks()
    {
        QList<ClinicLogRow> rows;
        {
            ClinicLogRows reading;
            for (int i = 0; i < 3000; ++i) {
                const QByteArray name = QStringLiteral("病人%1").arg(i).toUtf8();
                const QByteArray address = QString(i % 7 + 1, QChar(0x6751)).toUtf8(); // 村
                const QByteArray key =
                    QByteArrayLiteral("2009-03-25 08:00:") + QByteArray::number(i % 60);
                reading.add({name, "男", "8", "", address, key, Money::fromUnits(i)});
            }
            reading.add({"长",
                         "",
                         "",
                         "",
                         "",
                         QStringLiteral("二〇〇九年三月二十五日上午八时").toUtf8(),
                         {}});
            reading.add({"", "", "", "", "", QStringLiteral("2009-03-25 08:0😀").toUtf8(), {}});
            rows = reading.take();
        }
        QCOMPARE(rows.size(), 3002);
        for (int i = 0; i < 3000; ++i) {
            const QStringList cells = rows.at(i).cells();
            QCOMPARE(cells,
                     (QStringList{QStringLiteral("病人%1").arg(i), "男", "8", "",
                                  QString(i % 7 + 1, QChar(0x6751)), "2009-03-25 08:00", ""}));
            QCOMPARE(rows.at(i).fee(), std::optional<Money>(Money::fromUnits(i)));
        }
        QCOMPARE(rows.at(3000).visitTime(), QStringLiteral("二〇〇九年三月二十五日上午八时"));
        // A character that takes two places is left out rather than cut in half.
        QCOMPARE(rows.at(3001).visitTime(), QStringLiteral("2009-03-25 08:0"));
    }
};

QTEST_GUILESS_MAIN(TestClinicLogRows)
#include "TestClinicLogRows.moc"
