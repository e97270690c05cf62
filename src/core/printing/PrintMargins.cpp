#include "core/printing/PrintMargins.h"

#include "core/text/HalfWidth.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace quilloa {

namespace {

double leadingNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?))"));
    const QRegularExpressionMatch match = number.match(HalfWidth::fold(text));
    if (!match.hasMatch()) {
        return 0;
    }
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

double roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5) {
        return below;
    }
    if (fraction > 0.5) {
        return below + 1;
    }
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

} // namespace

PrintMargins::PrintMargins(const QString& leftMillimetres, const QString& topMillimetres)
    : m_left(twipsFromText(leftMillimetres)), m_top(twipsFromText(topMillimetres))
{
}

int PrintMargins::twipsFromText(const QString& millimetres)
{
    const double limit = kLimitMillimetres;
    const double whole = roundHalfToEven(std::clamp(leadingNumber(millimetres), -limit, limit));
    return static_cast<int>(whole) * kTwipsPerMillimetre;
}

} // namespace quilloa
