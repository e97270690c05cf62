#include "core/text/Cp936Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quilloa {
namespace {

// Qt's converter state keeps its error count across resetState() when ICU does the work, so
// errors are detected by decoding the result back instead of asking hasError().
QStringEncoder& encoder()
{
    thread_local QStringEncoder instance("GBK");
    instance.resetState();
    return instance;
}

QStringDecoder& decoder()
{
    thread_local QStringDecoder instance("GBK");
    instance.resetState();
    return instance;
}

QByteArray encodeRaw(QStringView text)
{
    return encoder().encode(text);
}

QString decodeRaw(QByteArrayView bytes)
{
    // A closing line feed completes any lead byte left dangling at the end (it turns into
    // U+FFFD) so that no half character waits in the cached decoder for the next call.
    QByteArray terminated(bytes.data(), bytes.size());
    terminated.append('\n');
    QString text = decoder().decode(terminated);
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

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
    const QByteArray bytes = encodeRaw(text);
    if (bytes.isEmpty() || decodeRaw(bytes) != text)
        return std::nullopt;
    return bytes;
}

QByteArray Cp936Codec::encode(QStringView text, bool* allOk)
{
    if (allOk)
        *allOk = true;
    QByteArray whole = encodeRaw(text);
    if (decodeRaw(whole) == text)
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
    return decodeRaw(bytes);
}

} // namespace quilloa
