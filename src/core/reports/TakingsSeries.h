#pragma once

#include "core/reports/WorkloadTotals.h"
#include "core/store/ArchiveStore.h"
#include "core/store/StoreResult.h"

#include <QList>
#include <QString>

namespace quilloa {

// The visits and takings of a month day by day, or of a year month by month, for the takings
// chart. Each bar counts exactly what the statistics window counts for its day or month, and the
// bars together count exactly what it counts for the whole month; a record whose date text fits
// the period but no bar (a date typed by hand) goes to a last bar "其他", so nothing is lost.
class TakingsSeries
{
public:
    struct Bar
    {
        QString label; // "1" … "31", or "1月" … "12月", or "其他"
        WorkloadTotals totals;
    };

    static StoreResult<TakingsSeries> daysOfMonth(const ArchiveStore& archive, const QString& year,
                                                  const QString& month);
    static StoreResult<TakingsSeries> monthsOfYear(const ArchiveStore& archive,
                                                   const QString& year);

    const QList<Bar>& bars() const { return m_bars; }
    const WorkloadTotals& total() const { return m_total; }
    // "2009-03 每日门诊量与业务额" or "2009年 每月门诊量与业务额".
    const QString& title() const { return m_title; }

    static QString otherLabel() { return QStringLiteral("其他"); }

private:
    static StoreResult<TakingsSeries> read(const ArchiveStore& archive, const QString& prefix,
                                           TakingsSeries series);
    void add(const QString& dateText, const QString& prefix, const std::optional<Money>& fee);

    QString m_title;
    QList<Bar> m_bars;
    // The bar of a record is the two digits after the prefix ("01" is the first bar); for days
    // they must also end the date text.
    bool m_exactPart = true;
    WorkloadTotals m_total;
};

} // namespace quilloa
