#include "core/reports/DateChoices.h"

namespace quilloa {
namespace {

QStringList numbered(int first, int last, int width)
{
    QStringList entries;
    for (int n = first; n <= last; ++n)
        entries << QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
    return entries;
}

} // namespace

QStringList DateChoices::years()
{
    return numbered(kFirstListedYear, kLastListedYear, 4);
}

QStringList DateChoices::months()
{
    return numbered(1, 12, 2);
}

QStringList DateChoices::days()
{
    return numbered(1, 31, 2);
}

QString DateChoices::yearText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy"));
}

QString DateChoices::monthText(const QDate& date)
{
    return date.toString(QStringLiteral("MM"));
}

QString DateChoices::dayText(const QDate& date)
{
    return date.toString(QStringLiteral("dd"));
}

} // namespace quilloa
