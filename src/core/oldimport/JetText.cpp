#include "core/oldimport/JetText.h"

namespace quilloa {

namespace {

std::optional<QString> wide(const unsigned char* bytes, qsizetype size)
{
    if (size % 2 != 0)
        return std::nullopt;
    QString text(size / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < size / 2; ++i)
        text[i] = QChar(char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    return text;
}

std::optional<QString> compressed(const unsigned char* bytes, qsizetype size)
{
    QString text;
    text.reserve(size);
    bool narrow = true;
    qsizetype i = 0;
    while (i < size) {
        if (bytes[i] == 0) {
            narrow = !narrow;
            ++i;
        } else if (narrow) {
            text.append(QChar(char16_t(bytes[i])));
            ++i;
        } else if (i + 1 < size) {
            text.append(QChar(char16_t(bytes[i] | (bytes[i + 1] << 8))));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

} // namespace

std::optional<QString> JetText::decode(const unsigned char* bytes, qsizetype size)
{
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return compressed(bytes + 2, size - 2);
    return wide(bytes, size);
}

} // namespace quilloa
