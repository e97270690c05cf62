#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quilloa {

// An exact currency amount with four decimal places, held as ten-thousandths of a yuan.
// The range is that of the stored currency column; nothing ever wraps.
class Money
{
public:
    static constexpr qint64 kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }

    // The number at the start of a text, "." as the decimal point: "30.5" -> 30.5,
    // "12元" -> 12, "" -> 0, "abc" -> none; full-width digits, point and signs read as their
    // ASCII forms ("１２．５" -> 12.5). Digits past the fourth decimal round half to even.
    // A number outside the currency range gives none.
    static std::optional<Money> fromLeadingNumber(const QString& text);

    constexpr qint64 units() const { return m_units; }

    // Plain decimal form without thousands separators or trailing zeros: 12.5, 30, -0.25.
    QString toPlainString() const;

    // Exact sum; none when the result would leave the currency range.
    std::optional<Money> plus(Money other) const;

    friend constexpr bool operator==(Money a, Money b) = default;

private:
    constexpr explicit Money(qint64 units) : m_units(units) {}
    qint64 m_units = 0;
};

} // namespace quilloa
