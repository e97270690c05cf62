#include "ui/entry/KeyboardLayout.h"

#include <QSet>
#include <QTest>

using namespace quilloa;

class TestKeyboardLayout : public QObject
{
    Q_OBJECT

private slots:
    void usageKeysAreDistinctAndLeftToRight()
    {
        QSet<int> indices;
        int left = -1;
        int lines = 0;
        for (const keyboard::UsageKey& key : keyboard::kUsageKeys) {
            QVERIFY(key.left > left);
            left = key.left;
            QVERIFY(key.index != 17); // the drug search box's caption
            indices.insert(key.index);
            lines += keyboard::isUsageLine(key.caption) ? 1 : 0;
        }
        QCOMPARE(indices.size(), 20);
        QCOMPARE(lines, 4);
    }

    void characterKeysFollowTheGrid()
    {
        const auto k = keyboard::characterKeyRect(29); // "t": third row, last column
        QCOMPARE(k.left, 180 + 360 * 9);
        QCOMPARE(k.top, 1020);
        QCOMPARE(k.width, 300);
        QCOMPARE(k.height, 240);
        const auto z = keyboard::characterKeyRect(35);
        QCOMPARE(z.left, 180 + 360 * 5);
        QCOMPARE(z.top, 1320);
        // The wide keys follow "z" on the last row without overlapping it.
        QVERIFY(keyboard::kBackspaceRect.left >= z.left + z.width);
        QCOMPARE(keyboard::kBackspaceRect.top, z.top);
        QCOMPARE(keyboard::characterKeyRect(36).width, 0);
        QCOMPARE(keyboard::characterKeyRect(-1).width, 0);
    }
};

QTEST_MAIN(TestKeyboardLayout)
#include "TestKeyboardLayout.moc"
