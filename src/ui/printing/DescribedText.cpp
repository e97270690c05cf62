#include "ui/printing/DescribedText.h"

#include "core/printing/DescribedFace.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPainter>
#include <QStringView>

namespace quilloa {

void DescribedText::draw(QPainter& painter, QPointF topLeft, const QString& text, double em)
{
    QPointF pen = topLeft + QPointF(0, em * DescribedFace::kAscentPerEm);
    for (const char32_t character : QStringView(text).toUcs4()) {
        const double cell = DescribedFace::isHalfWidth(character) ? em / 2 : em;
        if (character != U' ') {
            drawInCell(painter, QString::fromUcs4(&character, 1), pen, cell);
        }
        pen.rx() += cell;
    }
}

QFont DescribedText::standIn(const QString& face, double em, bool bold)
{
    QFont font(face);
    font.setPixelSize(qMax(1, qRound(em)));
    font.setBold(bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void DescribedText::drawInCell(QPainter& painter, const QString& glyph, QPointF baseline,
                               double cell)
{
    const double advance = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(glyph);
    if (advance <= cell) {
        painter.drawText(baseline + QPointF((cell - advance) / 2, 0), glyph);
        return;
    }
    painter.save();
    painter.translate(baseline);
    painter.scale(cell / advance, 1);
    painter.drawText(QPointF(0, 0), glyph);
    painter.restore();
}

} // namespace quilloa
