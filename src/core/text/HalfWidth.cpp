#include "core/text/HalfWidth.h"

namespace quilloa {
namespace {

constexpr char16_t kFirstFullWidth = 0xFF01; // ！
constexpr char16_t kLastFullWidth = 0xFF5E;  // ～
constexpr char16_t kFullWidthOffset = 0xFEE0;
constexpr char16_t kIdeographicSpace = 0x3000;

} // namespace

QString HalfWidth::fold(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t code = c.unicode();
        if (code >= kFirstFullWidth && code <= kLastFullWidth)
            c = QChar(char16_t(code - kFullWidthOffset));
        else if (code == kIdeographicSpace)
            c = QLatin1Char(' ');
    }
    return folded;
}

} // namespace quilloa
