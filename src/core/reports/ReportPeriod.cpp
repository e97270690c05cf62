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

VisitDates ReportPeriod::dates() const
{
    return {m_day ? VisitDates::Match::Exact : VisitDates::Match::Prefix, m_dateText};
}

} // namespace quilloa
