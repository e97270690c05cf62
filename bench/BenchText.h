#pragma once

#include <QLocale>
#include <QString>

namespace quilloa::bench {

// 1000000 -> "1,000,000", as the table prints sizes.
inline QString thousands(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

} // namespace quilloa::bench
