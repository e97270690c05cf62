#pragma once

#include "core/records/VisitDates.h"

#include <QString>

namespace quilloa {

// The visit dates a report covers: one day (the date text exactly as typed) or one month (every
// date that begins with year-month). The parts are joined as typed, never padded or checked, so
// "2009", "3" finds nothing in a store whose dates are written 2009-03-..
class ReportPeriod
{
public:
    static ReportPeriod day(const QString& year, const QString& month, const QString& day);
    static ReportPeriod month(const QString& year, const QString& month);

    bool isDay() const { return m_day; }
    // "2009-03-25" for a day, "2009-03" for a month.
    const QString& dateText() const { return m_dateText; }

    // The dates the archive reads: exactly the day's text, or every date beginning with the
    // month's.
    VisitDates dates() const;

private:
    ReportPeriod(bool day, QString dateText);

    bool m_day;
    QString m_dateText;
};

} // namespace quilloa
