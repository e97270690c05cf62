#include "core/store/server/CopyStream.h"

#include <QTest>
#include <QtEndian>

using quilloa::CopyStream;

namespace {

template <class Integer> QByteArray bigEndian(Integer value)
{
    QByteArray bytes(sizeof value, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A binary copy of two rows of three values, as a server writes it: a header with an
// extension, a NULL, an empty text and a text holding a tab and a backslash.
QByteArray twoRows()
{
    QByteArray data("PGCOPY\n\377\r\n\0", 11);
    data += bigEndian<quint32>(0) + bigEndian<qint32>(2) + QByteArray("xx");
    const auto text = [](const QByteArray& value) {
        return bigEndian<qint32>(value.size()) + value;
    };
    data += bigEndian<qint16>(3) + text(bigEndian<qint64>(7)) + bigEndian<qint32>(-1) + text("");
    data += bigEndian<qint16>(3) + text(bigEndian<qint64>(-1)) + text("王\t\\") + text("甲");
    return data + bigEndian<qint16>(-1);
}

// Where the first row's count of values stands: after the signature, the flags, the extension.
constexpr qsizetype kFirstRow = 11 + 4 + 4 + 2;

QStringList rowsOf(const QByteArray& data, qsizetype pieceSize, bool* complete)
{
    QStringList rows;
    CopyStream stream(3, [&rows](std::span<const CopyStream::Field> row) {
        QStringList values{QString::number(qFromBigEndian<qint64>(row[0].data))};
        for (size_t i = 1; i < row.size(); ++i)
            values << (row[i].isNull() ? QStringLiteral("∅")
                                       : QString::fromUtf8(row[i].data, row[i].size));
        rows << values.join(QLatin1Char('|'));
        return true;
    });
    for (qsizetype at = 0; at < data.size(); at += pieceSize) {
        if (!stream.feed(QByteArrayView(data).sliced(at, std::min(pieceSize, data.size() - at))))
            break;
    }
    *complete = stream.isComplete();
    return rows;
}

} // namespace

class TestCopyStream : public QObject
{
    Q_OBJECT
private slots:
    // The rows come out whole however the data is cut into pieces; data that is cut short, has
    // anything after its end or rows of another width is never complete.
    void rowsComeOutWholeFromAnyPieces()
    {
        const QByteArray data = twoRows();
        const QStringList expected{"7|∅|", "-1|王\t\\|甲"};
        bool complete = false;
        for (qsizetype size = 1; size <= data.size(); ++size) {
            QCOMPARE(rowsOf(data, size, &complete), expected);
            QVERIFY(complete);
        }
        QCOMPARE(rowsOf(data.chopped(1), 4, &complete), expected);
        QVERIFY(!complete);
        rowsOf(data + "x", data.size(), &complete);
        QVERIFY(!complete);
        QByteArray wider = data;
        wider[kFirstRow + 1] = 4;
        QVERIFY(rowsOf(wider, 5, &complete).isEmpty());
        QVERIFY(!complete);
    }
};

QTEST_GUILESS_MAIN(TestCopyStream)
#include "TestCopyStream.moc"
