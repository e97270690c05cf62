#pragma once

#include "core/records/Money.h"
#include "core/reports/ClinicLogRow.h"
#include "core/reports/ReportPeriod.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quilloa {

// The clinic log of one query as it is exported: a title, the register's seven columns and the
// fee of each visit, and a total row.
class ClinicLogSheet
{
public:
    static constexpr int kColumnCount = ClinicLogRow::kColumnCount + 1; // register + 收费
    static constexpr int kVisitTimeColumn = 5;
    static constexpr int kFeeColumn = ClinicLogRow::kColumnCount;

    ClinicLogSheet(QString clinicName, ReportPeriod period, QList<ClinicLogRow> rows);

    // "<clinic> 门诊日志 2009-03-25" or "… 2009-03".
    QString title() const;
    // The register's headings and "收费", without the register's padding blanks.
    static QStringList headings();
    // Column widths in spreadsheet characters, from the register's widths on screen.
    static QList<double> columnWidths();

    const QList<ClinicLogRow>& rows() const { return m_rows; }
    // The exact sum of the fees that hold a value; none when the sum leaves the currency range.
    std::optional<Money> feeTotal() const;
    static QString totalCaption() { return QStringLiteral("合计"); }

    // A register time "yyyy-mm-dd hh:mm" as a date and time; invalid when the key was not one.
    static QDateTime visitDateTime(const QString& visitTime);
    // Plain decimal text of a fee; empty for none.
    static QString feeText(const std::optional<Money>& fee);

private:
    QString m_clinicName;
    ReportPeriod m_period;
    QList<ClinicLogRow> m_rows;
};

} // namespace quilloa
