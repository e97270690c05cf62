#include "core/reports/ReportPeriod.h"

#include <utility>

namespace quilloa {

ReportPeriod::ReportPeriod(bool day, QString dateText) : m_day(day), m_dateText(std::move(dateText))
{
}

ReportPeriod ReportPeriod::day(const QString& year, const QString& month, const QString& day)
{
    return ReportPeriod(true, year + QLatin1Char('-') + month + QLatin1Char('-') + day);
}

ReportPeriod ReportPeriod::month(const QString& year, const QString& month)
{
    return ReportPeriod(false, year + QLatin1Char('-') + month);
}

QString ReportPeriod::condition() const
{
    return m_day ? QStringLiteral("[日期] = ?") : QStringLiteral("[日期] LIKE ?");
}

// "%" or "_" typed into a box keep acting as wildcards in a month, as they always have; they are
// values, never query text.
QVariant ReportPeriod::boundValue() const
{
    return m_day ? QVariant(m_dateText) : QVariant(m_dateText + QLatin1Char('%'));
}

} // namespace quilloa
