#pragma once

#include <QStringList>

namespace quilloa {

// How a field's text is set so that it stays inside its place on paper: at its own size when
// it fits, else smaller down to a size still easy to read, and only then wrapped over rows, at
// the largest size whose rows fit the place's height. A text that fits in no way is wrapped at
// the smallest size: it may reach below its place, but never over its neighbour on the right.
struct FieldFit
{
    static constexpr double kSmallestPointSize = 8;
    static constexpr double kStep = 0.5;

    double pointSize = 0;
    QStringList rows;

    [[nodiscard]] static FieldFit of(const QString& text, double pointSize, double widthTwips,
                                     double heightTwips);
};

} // namespace quilloa
