#include "startup/SmoothKaiRule.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace quilloa;

namespace {

// Share of the inked pixels of 9 pt (12 px) Kai text that are shades between ink and paper.
// Embedded bitmaps are one bit deep, so they give none; outlines give many.
double shadedShare()
{
    QFont kai(QStringLiteral("AR PL UKai CN"));
    kai.setPixelSize(12);
    QImage image(200, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(kai);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(2, 15), QStringLiteral("处方笺姓名诊断地址医生配药"));
    painter.end();
    int inked = 0;
    int shaded = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int gray = qGray(image.pixel(x, y));
            inked += gray < 250 ? 1 : 0;
            shaded += gray > 30 && gray < 225 ? 1 : 0;
        }
    }
    return inked ? double(shaded) / inked : 0.0;
}

} // namespace

class TestSmoothKaiRule : public QObject
{
    Q_OBJECT
private slots:
    void smallKaiTextIsDrawnFromOutlines()
    {
        QVERIFY(SmoothKaiRule::install());
        QFont kai(QStringLiteral("AR PL UKai CN"));
        if (QFontInfo(kai).family() != QStringLiteral("AR PL UKai CN"))
            QSKIP("the AR PL UKai face is not installed");
        const double share = shadedShare();
        QVERIFY2(share > 0.25, qPrintable(QString::number(share)));
    }
};

QTEST_MAIN(TestSmoothKaiRule)
#include "TestSmoothKaiRule.moc"
