#include "core/reports/ClinicLogCsvWriter.h"

#include "core/exchange/CsvText.h"
#include "core/reports/ClinicLogSheet.h"

namespace quilloa {

QList<QStringList> ClinicLogCsvWriter::lines(const ClinicLogSheet& sheet)
{
    QList<QStringList> lines{{CsvText::defused(sheet.title())}, ClinicLogSheet::headings()};
    for (const ClinicLogRow& row : sheet.rows()) {
        QStringList cells;
        for (const QString& cell : row.cells())
            cells << CsvText::defused(cell);
        cells << ClinicLogSheet::feeText(row.fee());
        lines << cells;
    }
    QStringList total(ClinicLogSheet::kColumnCount, QString());
    total[0] = ClinicLogSheet::totalCaption();
    total[ClinicLogSheet::kFeeColumn] = ClinicLogSheet::feeText(sheet.feeTotal());
    lines << total;
    return lines;
}

FileWriteStatus ClinicLogCsvWriter::write(const ClinicLogSheet& sheet, const QString& path) const
{
    return CsvText::write(lines(sheet), path);
}

} // namespace quilloa
