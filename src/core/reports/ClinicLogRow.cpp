#include "core/reports/ClinicLogRow.h"

namespace quilloa {

QStringList ClinicLogRow::cells() const
{
    return {name, sex, age, diagnosis, address, visitTime, QString()};
}

QStringList ClinicLogRow::headings()
{
    return {QStringLiteral("姓    名"), QStringLiteral("性别"),     QStringLiteral("年龄"),
            QStringLiteral("诊    断"), QStringLiteral("地    址"), QStringLiteral("就诊时间"),
            QStringLiteral("备    注")};
}

} // namespace quilloa
