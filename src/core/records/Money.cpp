#include "core/records/Money.h"

#include "core/text/HalfWidth.h"

#include <limits>

namespace quilloa {
namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Accumulates digits into a non-negative value of ten-thousandths; false on overflow.
class UnitsAccumulator
{
public:
    bool addIntegerDigit(int d)
    {
        if (m_integer > (kLimit - d) / 10)
            return false;
        m_integer = m_integer * 10 + d;
        return true;
    }
    void addFractionDigit(int d)
    {
        if (m_fractionDigits < 4) {
            m_fraction = m_fraction * 10 + d;
            ++m_fractionDigits;
        } else if (m_fractionDigits == 4) {
            m_roundDigit = d;
            ++m_fractionDigits;
        } else if (d != 0) {
            m_stickyBeyond = true;
        }
    }
    std::optional<qint64> units() const
    {
        qint64 fraction = m_fraction;
        for (int i = m_fractionDigits; i < 4; ++i)
            fraction *= 10;
        if (m_integer > (kLimit - fraction) / Money::kScale)
            return std::nullopt;
        qint64 value = m_integer * Money::kScale + fraction;
        if (roundsUp(value)) {
            if (value == kLimit)
                return std::nullopt;
            ++value;
        }
        return value;
    }

private:
    static constexpr qint64 kLimit = std::numeric_limits<qint64>::max();

    // Half to even, so that summing many fees does not drift upwards by a ten-thousandth each.
    bool roundsUp(qint64 value) const
    {
        if (m_roundDigit > 5 || (m_roundDigit == 5 && m_stickyBeyond))
            return true;
        return m_roundDigit == 5 && (value % 2) != 0;
    }

    qint64 m_integer = 0;
    qint64 m_fraction = 0;
    int m_fractionDigits = 0;
    int m_roundDigit = 0;
    bool m_stickyBeyond = false;
};

} // namespace

std::optional<Money> Money::fromLeadingNumber(const QString& typed)
{
    const QString text = HalfWidth::fold(typed);
    int i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    if (i == text.size())
        return Money(); // an empty field counts as nothing owed
    bool negative = false;
    if (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    UnitsAccumulator acc;
    bool sawDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        sawDigit = true;
        if (!acc.addIntegerDigit(text[i].unicode() - '0'))
            return std::nullopt;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            sawDigit = true;
            acc.addFractionDigit(text[i].unicode() - '0');
        }
    }
    if (!sawDigit)
        return std::nullopt;
    const std::optional<qint64> units = acc.units();
    if (!units)
        return std::nullopt;
    return Money(negative ? -*units : *units);
}

QString Money::toPlainString() const
{
    const bool negative = m_units < 0;
    // Work in unsigned so the most negative value prints too.
    const quint64 magnitude = negative ? quint64(0) - quint64(m_units) : quint64(m_units);
    QString text = QString::number(magnitude / kScale);
    quint64 fraction = magnitude % kScale;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

std::optional<Money> Money::plus(Money other) const
{
    qint64 sum = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &sum))
        return std::nullopt;
    return Money(sum);
}

} // namespace quilloa
