#include "core/records/ReferenceRows.h"

#include <QTest>

using namespace quilloa;

namespace {

// Names of every length, a few of them longer than one block of the reader, some empty, some
// outside the Basic Multilingual Plane; codes null, empty or text in turn.
QString nameOf(int i)
{
    if (i % 97 == 0)
        return QString();
    if (i == 500)
        return QString(40 * 1024, QChar(u'药'));
    return QStringLiteral("阿莫西林%1𠀀").arg(i).repeated(1 + i % 5);
}

std::optional<QString> codeOf(int i)
{
    switch (i % 3) {
    case 0:
        return std::nullopt;
    case 1:
        return QString();
    default:
        return QStringLiteral("amxl%1").arg(i);
    }
}

} // namespace

class TestReferenceRows : public QObject
{
    Q_OBJECT
private slots:
    void entriesKeepTheirOwnTextsAcrossBlocks()
    {
        constexpr int kRows = 3000;
        QList<ReferenceEntry> entries;
        {
            ReferenceRows rows;
            for (int i = 0; i < kRows; ++i) {
                const QByteArray name = nameOf(i).toUtf8();
                const std::optional<QString> code = codeOf(i);
                const QByteArray codeBytes = code ? code->toUtf8() : QByteArray();
                rows.add(1000 + i, name,
                         code ? std::optional<QByteArrayView>(codeBytes) : std::nullopt);
            }
            entries = rows.take();
            QVERIFY(rows.take().isEmpty());
        }
        QCOMPARE(entries.size(), kRows);
        for (int i = 0; i < kRows; ++i) {
            const ReferenceEntry& entry = entries.at(i);
            QCOMPARE(entry.rowId(), qint64(1000 + i));
            QCOMPARE(entry.name(), nameOf(i));
            QCOMPARE(entry.code().has_value(), codeOf(i).has_value());
            QCOMPARE(entry.code().value_or(QStringLiteral("-")),
                     codeOf(i).value_or(QStringLiteral("-")));
        }
    }

    void entryMadeFromTextsGivesThemBack()
    {
        const ReferenceEntry drug(7, QStringLiteral("板蓝根颗粒/冲服"), QStringLiteral("blgkl"));
        QCOMPARE(drug.rowId(), qint64(7));
        QCOMPARE(drug.name(), QStringLiteral("板蓝根颗粒/冲服"));
        QCOMPARE(drug.code(), std::optional<QString>(QStringLiteral("blgkl")));

        const ReferenceEntry noCode(8, QStringLiteral("感冒"), std::nullopt);
        QVERIFY(!noCode.code());
        const ReferenceEntry emptyCode(9, QString(), QString());
        QCOMPARE(emptyCode.code(), std::optional<QString>(QString()));
        QVERIFY(emptyCode.name().isEmpty());

        const ReferenceEntry none;
        QVERIFY(none.name().isEmpty());
        QVERIFY(!none.code());
    }
};

QTEST_GUILESS_MAIN(TestReferenceRows)
#include "TestReferenceRows.moc"
