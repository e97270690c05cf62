#include "core/store/sql/VisitStatements.h"

#include "core/store/server/ServerSearchIndex.h"
#include "core/store/sql/StoreSql.h"

namespace quilloa {

// A server's index on the date serves only equality; a period typed from its start is read
// through the folded date, which matches exactly where the column's own LIKE does.
QString VisitStatements::condition(const StoreConnection& file, const VisitDates& dates)
{
    if (dates.match == VisitDates::Match::Exact)
        return QStringLiteral("\"日期\" = ?");
    if (file.isServer())
        return QStringLiteral("%1 LIKE %2 ESCAPE ''")
            .arg(ServerSearchIndex::foldedDate(), ServerSearchIndex::foldedPattern());
    return QStringLiteral("\"日期\" ") + StoreSql::like(file);
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
