#include "core/store/VisitStatements.h"

#include "core/store/StoreSql.h"

namespace quilloa {

QString VisitStatements::condition(const StoreConnection& file, const VisitDates& dates)
{
    return dates.match == VisitDates::Match::Exact
               ? QStringLiteral("\"日期\" = ?")
               : QStringLiteral("\"日期\" ") + StoreSql::like(file);
}

QVariant VisitStatements::value(const VisitDates& dates)
{
    return dates.match == VisitDates::Match::Exact ? QVariant(dates.text)
                                                   : QVariant(dates.text + QLatin1Char('%'));
}

QString VisitStatements::fees(const StoreConnection& file, const VisitDates& dates)
{
    return QStringLiteral("SELECT %1 FROM \"档案\" WHERE ").arg(StoreSql::fee(file)) +
           condition(file, dates);
}

QString VisitStatements::datedFees(const StoreConnection& file, const VisitDates& dates)
{
    return QStringLiteral("SELECT \"日期\", %1 FROM \"档案\" WHERE ").arg(StoreSql::fee(file)) +
           condition(file, dates);
}

// Equal keys (two sheets started in the same second) keep the order they were saved in. A record
// without a key comes first on every engine (a server would put it last unless told).
QString VisitStatements::visits(const StoreConnection& file, const VisitDates& dates)
{
    return QStringLiteral("SELECT \"姓名\", \"性别\", \"年龄\", \"诊断\", \"地址\", \"名称\", "
                          "%1 FROM \"档案\" WHERE ")
               .arg(StoreSql::fee(file)) +
           condition(file, dates) + QStringLiteral(" ORDER BY \"名称\" NULLS FIRST, rowid");
}

} // namespace quilloa
