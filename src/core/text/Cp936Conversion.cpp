#include "core/text/Cp936Conversion.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quilloa {
namespace {

// Qt's converter state keeps its error count across resetState() when ICU does the work, so
// the codec detects errors by decoding the result back instead of asking hasError().
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

} // namespace

QByteArray Cp936Conversion::encode(QStringView text)
{
    return encoder().encode(text);
}

QString Cp936Conversion::decode(QByteArrayView bytes)
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

} // namespace quilloa
