#include "core/exchange/TextDecoding.h"

#include "core/store/Cp936Codec.h"

#include <QStringDecoder>

namespace quilloa {

// GBK text is almost never valid UTF-8 (its lead bytes 0x81-0xFE are followed by bytes that
// UTF-8 does not allow there), so a strict UTF-8 check decides.
TextDecoding::Decoded TextDecoding::decode(const QByteArray& bytes)
{
    static const QByteArray kBom("\xEF\xBB\xBF");
    if (bytes.startsWith(kBom))
        return {QString::fromUtf8(bytes.mid(kBom.size())), Encoding::Utf8};
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return {text, Encoding::Utf8};
    return {Cp936Codec::decode(bytes), Encoding::Gbk};
}

QString TextDecoding::nameOf(Encoding encoding)
{
    return encoding == Encoding::Gbk ? QStringLiteral("GBK") : QStringLiteral("UTF-8");
}

} // namespace quilloa
