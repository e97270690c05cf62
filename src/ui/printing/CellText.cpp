#include "ui/printing/CellText.h"

#include "core/printing/SheetFaceMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPainter>
#include <QStringView>

namespace quilloa {

void CellText::draw(QPainter& painter, QPointF topLeft, const QString& text, double em,
                    const QRectF& exposed)
{
    QPointF pen = topLeft + QPointF(0, em * SheetFaceMetrics::kAscentPerEm);
    // A glyph may reach a little past its cell; half an em either side covers any overhang.
    const double reach = em / 2;
    for (const char32_t character : QStringView(text).toUcs4()) {
        const double cell = SheetFaceMetrics::isHalfWidth(character) ? em / 2 : em;
        const bool seen = exposed.isNull() || (pen.x() + cell + reach > exposed.left() &&
                                               pen.x() - reach < exposed.right());
        if (character != U' ' && seen) {
            drawInCell(painter, QString::fromUcs4(&character, 1), pen, cell);
        }
        pen.rx() += cell;
    }
}

QFont CellText::standIn(const QString& face, double em, bool bold)
{
    QFont font(face);
    font.setPixelSize(qMax(1, qRound(em)));
    font.setBold(bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void CellText::drawInCell(QPainter& painter, const QString& glyph, QPointF baseline, double cell)
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
