#include "core/reports/TakingsSeries.h"

#include <QDate>

namespace quilloa {
namespace {

constexpr int kPartLength = 2;
constexpr int kMonthsInYear = 12;
constexpr int kLongestMonth = 31;

int daysIn(const QString& year, const QString& month)
{
    const QDate first(year.toInt(), month.toInt(), 1);
    return first.isValid() ? first.daysInMonth() : kLongestMonth;
}

} // namespace

StoreResult<TakingsSeries> TakingsSeries::daysOfMonth(const ArchiveStore& archive,
                                                      const QString& year, const QString& month)
{
    TakingsSeries series;
    series.m_title = year + QLatin1Char('-') + month + QStringLiteral(" 每日门诊量与业务额");
    for (int day = 1; day <= daysIn(year, month); ++day)
        series.m_bars.append({QString::number(day), {}});
    // A day counts only a date that is exactly year-month-dd, as the day statistics do.
    series.m_exactPart = true;
    return read(archive, year + QLatin1Char('-') + month + QLatin1Char('-'), series);
}

StoreResult<TakingsSeries> TakingsSeries::monthsOfYear(const ArchiveStore& archive,
                                                       const QString& year)
{
    TakingsSeries series;
    series.m_title = year + QStringLiteral("年 每月门诊量与业务额");
    for (int month = 1; month <= kMonthsInYear; ++month)
        series.m_bars.append({QString::number(month) + QStringLiteral("月"), {}});
    // A month counts every date that begins with year-mm, as the month statistics do.
    series.m_exactPart = false;
    return read(archive, year + QLatin1Char('-'), series);
}

// The whole period is one query with the same prefix match as the statistics, so the total is
// their figure whatever the bars make of the dates.
StoreResult<TakingsSeries> TakingsSeries::read(const ArchiveStore& archive, const QString& prefix,
                                               TakingsSeries series)
{
    const StoreStatus status = archive.readDatedFees(
        {VisitDates::Match::Prefix, prefix},
        [&series, &prefix](const QString& date, const std::optional<Money>& fee) {
            series.add(date, prefix, fee);
        });
    if (!status.ok())
        return status;
    return series;
}

void TakingsSeries::add(const QString& dateText, const QString& prefix,
                        const std::optional<Money>& fee)
{
    m_total.addRecord(fee);
    const QString rest = dateText.mid(prefix.size());
    const QString part = rest.left(kPartLength);
    bool isNumber = false;
    const int index = part.toInt(&isNumber) - 1;
    const bool fits = part.size() == kPartLength && part[0].isDigit() && part[1].isDigit() &&
                      isNumber && index >= 0 && index < m_bars.size() &&
                      m_bars[index].label != otherLabel() &&
                      (!m_exactPart || rest.size() == kPartLength);
    if (fits) {
        m_bars[index].totals.addRecord(fee);
        return;
    }
    if (m_bars.isEmpty() || m_bars.last().label != otherLabel())
        m_bars.append({otherLabel(), {}});
    m_bars.last().totals.addRecord(fee);
}

} // namespace quilloa
