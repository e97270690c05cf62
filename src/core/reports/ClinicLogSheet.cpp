#include "core/reports/ClinicLogSheet.h"

#include <array>
#include <utility>

namespace quilloa {
namespace {

// The register's column widths in twips; a spreadsheet character is about 7 pixels of 15 twips.
constexpr std::array<int, ClinicLogSheet::kColumnCount> kWidthTwips{1000, 500,  500,  3500,
                                                                    5000, 1550, 2100, 1000};
constexpr double kTwipsPerCharacter = 7 * 15;

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
    for (const int twips : kWidthTwips)
        widths << twips / kTwipsPerCharacter;
    return widths;
}

std::optional<Money> ClinicLogSheet::feeTotal() const
{
    Money total;
    for (const ClinicLogRow& row : m_rows) {
        if (!row.fee)
            continue;
        const std::optional<Money> sum = total.plus(*row.fee);
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
