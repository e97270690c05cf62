#pragma once

#include <QPointF>
#include <QString>

class QFont;
class QPainter;

namespace quilloa {

// Sets a text by the described faces' metrics (see DescribedFace) with whatever face stands in
// for them: the baseline one described ascent below the top, each character in a cell of its
// described width, its glyph centred there and squeezed across when wider than the cell.
// Units are the painter's; em is the font's em in those units.
class DescribedText
{
public:
    static void draw(QPainter& painter, QPointF topLeft, const QString& text, double em);
    // The stand-in for a described face, sized to em painter units.
    static QFont standIn(const QString& face, double em, bool bold);

private:
    static void drawInCell(QPainter& painter, const QString& glyph, QPointF baseline, double cell);
};

} // namespace quilloa
