#include "core/reports/ClinicLogQuery.h"

#include "core/store/DirectRows.h"

namespace quilloa {

// Equal keys (two sheets started in the same second) keep the order they were saved in.
QString ClinicLogQuery::statement(const ReportPeriod& period)
{
    return QStringLiteral(
               "SELECT [姓名], [性别], [年龄], [诊断], [地址], [名称], [收费] FROM [档案] WHERE ") +
           period.condition() + QStringLiteral(" ORDER BY [名称], rowid");
}

StoreResult<QList<ClinicLogRow>> ClinicLogQuery::rows(const StoreFile& archive,
                                                      const ReportPeriod& period)
{
    QList<ClinicLogRow> rows;
    const StoreStatus read = DirectRows::read(
        archive, statement(period), {period.boundValue()}, [&rows](const DirectRow& r) {
            rows.append({r.text(0), r.text(1), r.text(2), r.text(3), r.text(4),
                         r.text(5).left(ClinicLogRow::kVisitTimeLength),
                         r.isNull(6) ? std::nullopt
                                     : std::optional<Money>(Money::fromUnits(r.integer(6)))});
        });
    if (!read.ok())
        return read;
    return rows;
}

} // namespace quilloa
