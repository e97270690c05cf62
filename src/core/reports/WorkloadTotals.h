#pragma once

#include "core/records/Money.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quilloa {

// How many prescriptions a period holds and what was charged for them.
struct WorkloadTotals
{
    qint64 count = 0;
    // The exact sum of the fees that hold a value; none when no record had one.
    std::optional<Money> takings;
    // The sum left the currency range, so takings holds no trustworthy value.
    bool takingsOutOfRange = false;

    // "门诊处方数：3张，业务额：19.5元", "…2张，业务额：元" when no fee had a value, or
    // "无统计数字" for an empty period.
    QString text() const;

    // Counts one record and adds its fee; a fee without value counts the record only.
    void addRecord(const std::optional<Money>& fee);
};

} // namespace quilloa
