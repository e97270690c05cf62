#include "core/reports/ClinicLogCsvWriter.h"

#include "core/exchange/CsvText.h"
#include "core/reports/ClinicLogSheet.h"

#include <QSaveFile>

namespace quilloa {

QList<QStringList> ClinicLogCsvWriter::lines(const ClinicLogSheet& sheet)
{
    QList<QStringList> lines{{CsvText::defused(sheet.title())}, ClinicLogSheet::headings()};
    for (const ClinicLogRow& row : sheet.rows()) {
        QStringList cells;
        for (const QString& cell : row.cells())
            cells << CsvText::defused(cell);
        cells << ClinicLogSheet::feeText(row.fee);
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileWriteStatus::failure(FileWriteStatus::cannotCreate(path));
    const QByteArray bytes = CsvText::utf8WithBom(lines(sheet));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return FileWriteStatus::failure(FileWriteStatus::cannotWrite(path));
    }
    if (!file.commit())
        return FileWriteStatus::failure(FileWriteStatus::cannotReplace(path));
    return FileWriteStatus::success();
}

} // namespace quilloa
