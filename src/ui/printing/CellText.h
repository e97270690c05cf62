#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;

namespace quilloa {

// Sets a text by the sheet faces' metrics (see SheetFaceMetrics) with whatever face stands in
// for them: the baseline one sheet-face ascent below the top, each character in a cell of its
// sheet-face width, its glyph centred there and squeezed across when wider than the cell.
// Units are the painter's; em is the font's em in those units.
class CellText
{
public:
    // With `exposed` given, characters whose cells lie well clear of it are left out: the painter
    // would clip them away anyway, and a repaint of a strip should not set the whole text.
    static void draw(QPainter& painter, QPointF topLeft, const QString& text, double em,
                     const QRectF& exposed = QRectF());
    // The stand-in for a sheet face, sized to em painter units.
    static QFont standIn(const QString& face, double em, bool bold);

private:
    static void drawInCell(QPainter& painter, const QString& glyph, QPointF baseline, double cell);
};

} // namespace quilloa
