#include "core/exchange/TextDecoding.h"

#include "core/text/Cp936Codec.h"

#include <QStringDecoder>

namespace quilloa {
namespace {

// The whole of `bytes` in `encoding`, or nothing when any of it is not valid there.
std::optional<QString> strictly(QStringDecoder::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

TextDecoding::Decoded utf16(QStringDecoder::Encoding encoding, QByteArrayView bytes)
{
    if (bytes.size() % 2 != 0)
        return {QString(), TextDecoding::Encoding::NotText};
    const std::optional<QString> text = strictly(encoding, bytes.sliced(2));
    if (!text)
        return {QString(), TextDecoding::Encoding::NotText};
    return {*text, TextDecoding::Encoding::Utf16};
}

bool isControl(QChar c)
{
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
        return false;
    return c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter;
}

} // namespace

// GBK text is almost never valid UTF-8 (its lead bytes 0x81-0xFE are followed by bytes that
// UTF-8 does not allow there), so a strict UTF-8 check decides. A NUL byte is in no text of
// either kind, and a GBK reading that needs U+FFFD anywhere was not GBK.
TextDecoding::Decoded TextDecoding::decode(const QByteArray& bytes)
{
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith("\xFF\xFE"))
        return utf16(QStringDecoder::Utf16LE, bytes);
    if (bytes.startsWith("\xFE\xFF"))
        return utf16(QStringDecoder::Utf16BE, bytes);
    if (bytes.contains('\0'))
        return {QString(), Encoding::NotText};
    const bool marked = bytes.startsWith(kUtf8Bom);
    if (const std::optional<QString> text = strictly(
            QStringDecoder::Utf8, QByteArrayView(bytes).sliced(marked ? kUtf8Bom.size() : 0)))
        return {*text, Encoding::Utf8};
    if (marked)
        return {QString(), Encoding::NotText};
    const QString gbk = Cp936Codec::decode(bytes);
    if (gbk.contains(QChar::ReplacementCharacter))
        return {QString(), Encoding::NotText};
    return {gbk, Encoding::Gbk};
}

QString TextDecoding::nameOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf16:
        return QStringLiteral("UTF-16");
    case Encoding::Gbk:
        return QStringLiteral("GBK");
    case Encoding::NotText:
        break;
    }
    return QString();
}

QList<TextDecoding::ControlLine> TextDecoding::controlLines(const QString& text, int most)
{
    QList<ControlLine> found;
    int line = 1;
    bool lineCounted = false;
    for (qsizetype i = 0; i < text.size() && found.size() < most; ++i) {
        const QChar c = text[i];
        const bool lineEnd =
            c == QLatin1Char('\n') ||
            (c == QLatin1Char('\r') && (i + 1 == text.size() || text[i + 1] != QLatin1Char('\n')));
        if (lineEnd) {
            ++line;
            lineCounted = false;
        } else if (!lineCounted && isControl(c)) {
            found.append({line, c.unicode()});
            lineCounted = true;
        }
    }
    return found;
}

} // namespace quilloa
