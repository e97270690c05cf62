#include "core/entry/ComposedCode.h"

#include <QTest>

using namespace quilloa;

class TestComposedCode : public QObject
{
    Q_OBJECT

private slots:
    // Only the blanks that stand between two Latin letters are the composition's; a name's
    // own blanks, and blanks at either end, stay.
    void commitsLoseOnlySyllableSpaces()
    {
        QCOMPARE(ComposedCode::cleaned(QStringLiteral("b t t y")), QStringLiteral("btty"));
        QCOMPARE(ComposedCode::cleaned(QStringLiteral("gao  xue\u3000ya")),
                 QStringLiteral("gaoxueya"));
        QCOMPARE(ComposedCode::cleaned(QStringLiteral("城东 3号")), QStringLiteral("城东 3号"));
        QCOMPARE(ComposedCode::cleaned(QStringLiteral("高 x y")), QStringLiteral("高 xy"));
        QCOMPARE(ComposedCode::cleaned(QStringLiteral(" a b ")), QStringLiteral(" ab "));
        QCOMPARE(ComposedCode::cleaned(QString()), QString());
        QCOMPARE(ComposedCode::letters(QStringLiteral("g x\u3000y")), QStringLiteral("gxy"));
    }
};

QTEST_MAIN(TestComposedCode)
#include "TestComposedCode.moc"
