#include "core/reports/ClinicLogSheet.h"

#include <array>
#include <utility>

namespace quilloa {
namespace {

// A spreadsheet character is about 7 pixels of 15 twips.
constexpr double kTwipsPerCharacter = 7 * 15;
// The fee column, which the register on screen does not have.
constexpr int kFeeWidthTwips = 1000;

} // namespace

ClinicLogSheet::ClinicLogSheet(QString clinicName, ReportPeriod period, QList<ClinicLogRow> rows)
    : m_clinicName(std::move(clinicName)), m_period(std::move(period)), m_rows(std::move(rows))
{
}

QString ClinicLogSheet::title() const
{
    QString title = m_clinicName.trimmed();
    if (!title.isEmpty())
        title += QLatin1Char(' ');
    return title + QStringLiteral("门诊日志 ") + m_period.dateText();
}

QStringList ClinicLogSheet::headings()
{
    QStringList headings;
    for (const QString& heading : ClinicLogRow::headings())
        headings << QString(heading).remove(QLatin1Char(' '));
    return headings << QStringLiteral("收费");
}

QList<double> ClinicLogSheet::columnWidths()
{
    QList<double> widths;
    for (const int twips : ClinicLogRow::kColumnWidths)
        widths << twips / kTwipsPerCharacter;
    return widths << kFeeWidthTwips / kTwipsPerCharacter;
}

std::optional<Money> ClinicLogSheet::feeTotal() const
{
    Money total;
    for (const ClinicLogRow& row : m_rows) {
        if (!row.fee())
            continue;
        const std::optional<Money> sum = total.plus(*row.fee());
        if (!sum)
            return std::nullopt;
        total = *sum;
    }
    return total;
}

QDateTime ClinicLogSheet::visitDateTime(const QString& visitTime)
{
    return QDateTime::fromString(visitTime, QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString ClinicLogSheet::feeText(const std::optional<Money>& fee)
{
    return fee ? fee->toPlainString() : QString();
}

} // namespace quilloa
