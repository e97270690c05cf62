#pragma once

#include <QString>

namespace quilloa {

// A pair of print margins as the settings record holds them: millimetres as text. Whole
// millimetres at 56 twips each (not 56.7), so a margin set once lands on the same spot of every
// printer's page as on the pre-printed forms the clinic already lines up.
class PrintMargins
{
public:
    static constexpr int kTwipsPerMillimetre = 56;
    // A margin beyond this many millimetres is held at it, so that a stray entry such as
    // "1e300" cannot push the page arithmetic out of range.
    static constexpr int kLimitMillimetres = 10000;

    PrintMargins() = default;
    PrintMargins(const QString& leftMillimetres, const QString& topMillimetres);

    // The number at the start of the text ("12.5mm" -> 12.5, leading blanks skipped), rounded
    // half to even (12.5 -> 12, 13.5 -> 14), times 56. Empty or not a number gives 0.
    // Full-width digits, point and signs count as their ASCII forms.
    static int twipsFromText(const QString& millimetres);

    int leftTwips() const { return m_left; }
    int topTwips() const { return m_top; }

private:
    int m_left = 0;
    int m_top = 0;
};

} // namespace quilloa
