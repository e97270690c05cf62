#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quilloa {

// The platform's own code page 936 tables, as Cp936Codec builds on them: Qt's converters
// (ICU's "GBK") on Linux in Cp936Conversion.cpp, the system's conversion in
// Cp936ConversionWindows.cpp, where Qt has no converter for it.
class Cp936Conversion
{
public:
    // The bytes of a text. A character without bytes of its own may come out as anything;
    // the codec finds it by decoding the result back.
    static QByteArray encode(QStringView text);
    // The text of bytes, each invalid or truncated sequence as U+FFFD, keeping no state from
    // one call to the next.
    static QString decode(QByteArrayView bytes);
};

} // namespace quilloa
