#include "core/store/VisitStatements.h"

namespace quilloa {

QString VisitStatements::condition(const VisitDates& dates)
{
    return dates.match == VisitDates::Match::Exact ? QStringLiteral("\"日期\" = ?")
                                                   : QStringLiteral("\"日期\" LIKE ?");
}

QVariant VisitStatements::value(const VisitDates& dates)
{
    return dates.match == VisitDates::Match::Exact ? QVariant(dates.text)
                                                   : QVariant(dates.text + QLatin1Char('%'));
}

QString VisitStatements::fees(const VisitDates& dates)
{
    return QStringLiteral("SELECT \"收费\" FROM \"档案\" WHERE ") + condition(dates);
}

QString VisitStatements::datedFees(const VisitDates& dates)
{
    return QStringLiteral("SELECT \"日期\", \"收费\" FROM \"档案\" WHERE ") + condition(dates);
}

// Equal keys (two sheets started in the same second) keep the order they were saved in.
QString VisitStatements::visits(const VisitDates& dates)
{
    return QStringLiteral("SELECT \"姓名\", \"性别\", \"年龄\", \"诊断\", \"地址\", \"名称\", "
                          "\"收费\" FROM \"档案\" WHERE ") +
           condition(dates) + QStringLiteral(" ORDER BY \"名称\", rowid");
}

} // namespace quilloa
