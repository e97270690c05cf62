#include "core/text/Cp936Codec.h"

#include "core/text/Cp936Conversion.h"

namespace quilloa {
namespace {

QString fromCodePoint(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

std::optional<QByteArray> Cp936Codec::encodeChar(char32_t c)
{
    if (c < 0x80)
        return QByteArray(1, char(c));
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    const QString text = fromCodePoint(c);
    const QByteArray bytes = Cp936Conversion::encode(text);
    if (bytes.isEmpty() || Cp936Conversion::decode(bytes) != text)
        return std::nullopt;
    return bytes;
}

QByteArray Cp936Codec::encode(QStringView text, bool* allOk)
{
    if (allOk)
        *allOk = true;
    QByteArray whole = Cp936Conversion::encode(text);
    if (Cp936Conversion::decode(whole) == text)
        return whole;

    // Some character has no round trip: go character by character to find which.
    QByteArray bytes;
    const QList<uint> codePoints = text.toUcs4();
    for (const uint c : codePoints) {
        const std::optional<QByteArray> one = encodeChar(char32_t(c));
        if (one) {
            bytes += *one;
        } else {
            bytes += '?';
            if (allOk)
                *allOk = false;
        }
    }
    return bytes;
}

QString Cp936Codec::decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    return Cp936Conversion::decode(bytes);
}

} // namespace quilloa
