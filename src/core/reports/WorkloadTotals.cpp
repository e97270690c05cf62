#include "core/reports/WorkloadTotals.h"

namespace quilloa {

QString WorkloadTotals::text() const
{
    if (count <= 0)
        return QStringLiteral("无统计数字");
    const QString prescriptions = QStringLiteral("门诊处方数：%1张，").arg(count);
    // A sum that does not fit is not shown at all rather than shown wrong.
    if (takingsOutOfRange)
        return prescriptions + QStringLiteral("业务额超出计算范围");
    const QString amount = takings ? takings->toPlainString() : QString();
    return prescriptions + QStringLiteral("业务额：") + amount + QStringLiteral("元");
}

void WorkloadTotals::addRecord(const std::optional<Money>& fee)
{
    ++count;
    if (!fee || takingsOutOfRange)
        return;
    const std::optional<Money> sum = takings ? takings->plus(*fee) : *fee;
    takings = sum;
    takingsOutOfRange = !sum;
}

} // namespace quilloa
