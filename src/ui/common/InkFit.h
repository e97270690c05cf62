#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QFontMetricsF;

namespace quilloa {

// Places text by its ink rather than by the font's line box. The Han faces that stand in for
// 宋体 here have a line box far taller than their letters, so a line or a key sized for the
// original face cuts them off when text is placed by line box.
class InkFit
{
public:
    // What the lines hold: Han characters stand taller than Latin capitals, so lines that may
    // hold both keep room for both, and all such lines share one baseline.
    enum class Lines
    {
        Latin,
        LatinAndHan,
    };

    // The baseline that centres the ink of capitals and of the descenders g j p q y (and of
    // Han characters, where the lines hold them) between `top` and `top + height`. Every line
    // of one face gets the same baseline, so letters with and without descenders stand level.
    static double centredBaseline(const QFontMetricsF& metrics, Lines lines, double top,
                                  double height);

    // `font`, made smaller where needed so that `text` and the descenders fit `room`.
    static QFont fitted(const QFont& font, Lines lines, const QString& text, const QSizeF& room);

    // Where to draw `text` so that its own ink is centred across `room` and the line's ink
    // from top to bottom.
    static QPointF centredOrigin(const QFont& font, Lines lines, const QString& text,
                                 const QRectF& room);

private:
    static QRectF lineInk(const QFontMetricsF& metrics, Lines lines);
};

} // namespace quilloa
