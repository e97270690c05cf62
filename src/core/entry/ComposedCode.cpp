#include "core/entry/ComposedCode.h"

namespace quilloa {
namespace {

bool isLatinLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// The ideographic space as well: an input method in full-width mode spaces with it.
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x3000);
}

} // namespace

QString ComposedCode::cleaned(const QString& committed)
{
    QString kept;
    kept.reserve(committed.size());
    for (qsizetype i = 0; i < committed.size(); ++i) {
        if (isBlank(committed.at(i)) && !kept.isEmpty() && isLatinLetter(kept.back())) {
            qsizetype next = i;
            while (next < committed.size() && isBlank(committed.at(next)))
                ++next;
            if (next < committed.size() && isLatinLetter(committed.at(next))) {
                i = next - 1;
                continue;
            }
        }
        kept.append(committed.at(i));
    }
    return kept;
}

QString ComposedCode::letters(const QString& preedit)
{
    QString kept = preedit;
    kept.removeIf(isBlank);
    return kept;
}

} // namespace quilloa
