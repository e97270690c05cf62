#include "core/reports/ClinicLogXlsxWriter.h"

#include "core/files/SiblingTempFile.h"
#include "core/reports/ClinicLogSheet.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

namespace quilloa {
namespace {

constexpr lxw_row_t kTitleRow = 0;
constexpr lxw_row_t kHeadingRow = 1;
constexpr lxw_row_t kFirstVisitRow = 2;

double yuan(Money money)
{
    return double(money.units()) / double(Money::kScale);
}

lxw_workbook* newWorkbook(const QByteArray& fileName)
{
#ifdef Q_OS_WIN
    // The library's own temporary files would go to the root of the drive (the C runtime's
    // tmpfile), which a user cannot write on Windows: they go to the user's temporary folder.
    QByteArray folder = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    options.tmpdir = folder.data();
    return workbook_new_opt(fileName.constData(), &options);
#else
    return workbook_new(fileName.constData());
#endif
}

// One workbook being filled; every write error is remembered and the first one fails the file.
class WorkbookFiller
{
public:
    explicit WorkbookFiller(const QByteArray& fileName) : m_book(newWorkbook(fileName))
    {
        if (!m_book)
            return;
        m_sheet = workbook_add_worksheet(m_book, "门诊日志");
        m_title = workbook_add_format(m_book);
        format_set_bold(m_title);
        format_set_font_size(m_title, 14);
        m_heading = workbook_add_format(m_book);
        format_set_bold(m_heading);
        format_set_bottom(m_heading, LXW_BORDER_THIN);
        m_time = workbook_add_format(m_book);
        format_set_num_format(m_time, "yyyy-mm-dd hh:mm");
        m_fee = workbook_add_format(m_book);
        format_set_num_format(m_fee, "0.00");
        m_total = workbook_add_format(m_book);
        format_set_bold(m_total);
        format_set_num_format(m_total, "0.00");
        format_set_top(m_total, LXW_BORDER_THIN);
    }
    ~WorkbookFiller()
    {
        if (m_book)
            workbook_close(m_book); // only reached when fill() failed or was never called
    }
    WorkbookFiller(const WorkbookFiller&) = delete;
    WorkbookFiller& operator=(const WorkbookFiller&) = delete;

    bool fill(const ClinicLogSheet& sheet)
    {
        if (!m_book || !m_sheet)
            return false;
        writeFrame(sheet);
        lxw_row_t row = kFirstVisitRow;
        for (const ClinicLogRow& visit : sheet.rows())
            writeVisit(row++, visit);
        writeTotal(row, sheet);
        return m_ok;
    }

    // Writes the file; false when it could not be written whole.
    bool close()
    {
        lxw_workbook* book = m_book;
        m_book = nullptr;
        return workbook_close(book) == LXW_NO_ERROR;
    }

private:
    void check(lxw_error error) { m_ok = m_ok && error == LXW_NO_ERROR; }

    void text(lxw_row_t row, lxw_col_t column, const QString& value, lxw_format* format = nullptr)
    {
        if (!value.isEmpty())
            check(worksheet_write_string(m_sheet, row, column, value.toUtf8().constData(), format));
    }

    void writeFrame(const ClinicLogSheet& sheet)
    {
        const QList<double> widths = ClinicLogSheet::columnWidths();
        for (int column = 0; column < widths.size(); ++column)
            check(worksheet_set_column(m_sheet, column, column, widths[column], nullptr));
        text(kTitleRow, 0, sheet.title(), m_title);
        const QStringList headings = ClinicLogSheet::headings();
        for (int column = 0; column < headings.size(); ++column)
            text(kHeadingRow, column, headings[column], m_heading);
    }

    void writeVisit(lxw_row_t row, const ClinicLogRow& visit)
    {
        const QStringList cells = visit.cells();
        for (int column = 0; column < cells.size(); ++column) {
            if (column != ClinicLogSheet::kVisitTimeColumn)
                text(row, column, cells[column]);
        }
        writeVisitTime(row, visit.visitTime());
        if (visit.fee())
            check(worksheet_write_number(m_sheet, row, ClinicLogSheet::kFeeColumn,
                                         yuan(*visit.fee()), m_fee));
    }

    // A key that is not a date and time stays text rather than being lost.
    void writeVisitTime(lxw_row_t row, const QString& visitTime)
    {
        const QDateTime time = ClinicLogSheet::visitDateTime(visitTime);
        if (!time.isValid() || time.date().year() < 1900) {
            text(row, ClinicLogSheet::kVisitTimeColumn, visitTime);
            return;
        }
        lxw_datetime when{time.date().year(), time.date().month(),  time.date().day(),
                          time.time().hour(), time.time().minute(), 0.0};
        check(worksheet_write_datetime(m_sheet, row, ClinicLogSheet::kVisitTimeColumn, &when,
                                       m_time));
    }

    // The total is a formula, so it follows hand corrections in the spreadsheet; its stored
    // value is our exact sum, shown until the spreadsheet recalculates.
    void writeTotal(lxw_row_t row, const ClinicLogSheet& sheet)
    {
        text(row, 0, ClinicLogSheet::totalCaption(), m_total);
        const std::optional<Money> total = sheet.feeTotal();
        if (!total)
            return;
        const lxw_col_t column = ClinicLogSheet::kFeeColumn;
        if (row == kFirstVisitRow) {
            check(worksheet_write_number(m_sheet, row, column, 0.0, m_total));
            return;
        }
        const QByteArray formula =
            QStringLiteral("=SUM(H%1:H%2)").arg(kFirstVisitRow + 1).arg(row).toLatin1();
        check(worksheet_write_formula_num(m_sheet, row, column, formula.constData(), m_total,
                                          yuan(*total)));
    }

    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_title = nullptr;
    lxw_format* m_heading = nullptr;
    lxw_format* m_time = nullptr;
    lxw_format* m_fee = nullptr;
    lxw_format* m_total = nullptr;
    bool m_ok = true;
};

} // namespace

FileWriteStatus ClinicLogXlsxWriter::write(const ClinicLogSheet& sheet, const QString& path) const
{
    SiblingTempFile temp(path);
    if (!temp.isValid())
        return FileWriteStatus::failure(FileWriteStatus::cannotCreate(path));
    WorkbookFiller filler(QFile::encodeName(temp.tempPath()));
    if (!filler.fill(sheet) || !filler.close())
        return FileWriteStatus::failure(FileWriteStatus::cannotWrite(path));
    const int committed = temp.commit();
    if (committed != 0)
        return FileWriteStatus::failure(FileWriteStatus::cannotReplace(path, committed));
    return FileWriteStatus::success();
}

} // namespace quilloa
