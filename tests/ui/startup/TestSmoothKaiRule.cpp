#include "ui/startup/SmoothKaiRule.h"

#include <QFontDatabase>
#include <QTest>

using namespace quilloa;

class TestSmoothKaiRule : public QObject
{
    Q_OBJECT
private slots:
    // The AR PL faces lose their bitmaps; every other face keeps fontconfig's choice, so
    // bitmap-only faces elsewhere on the desktop still draw.
    void onlyTheArPlFacesAreDrawnFromOutlines()
    {
        if (!QFontDatabase::families().contains(QStringLiteral("AR PL UKai CN")))
            QSKIP("the AR PL UKai face is not installed");
        const bool otherBefore = SmoothKaiRule::drawsEmbeddedBitmaps("DejaVu Sans");
        QVERIFY(SmoothKaiRule::drawsEmbeddedBitmaps("AR PL UKai CN"));
        QVERIFY(SmoothKaiRule::install());
        QVERIFY(!SmoothKaiRule::drawsEmbeddedBitmaps("AR PL UKai CN"));
        QVERIFY(!SmoothKaiRule::drawsEmbeddedBitmaps("AR PL UKai TW"));
        QVERIFY(!SmoothKaiRule::drawsEmbeddedBitmaps("AR PL UMing CN"));
        QCOMPARE(SmoothKaiRule::drawsEmbeddedBitmaps("DejaVu Sans"), otherBefore);
    }
};

QTEST_MAIN(TestSmoothKaiRule)
#include "TestSmoothKaiRule.moc"
