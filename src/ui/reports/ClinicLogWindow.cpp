#include "ui/reports/ClinicLogWindow.h"

#include "ui/reports/ClinicLogWindowLayout.h"

#include "core/printing/ClinicLogPrintout.h"
#include "core/reports/ClinicLogQuery.h"
#include "core/reports/ClinicLogSheet.h"
#include "core/reports/ClinicLogWriter.h"
#include "core/reports/DateChoices.h"
#include "core/reports/ReportPeriod.h"
#include "ui/common/ElidedCellTips.h"
#include "ui/common/PlainButtons.h"
#include "ui/common/PlainDialog.h"
#include "ui/common/Twips.h"
#include "ui/common/TwipsLayout.h"
#include "ui/printing/PrintPreviewDialog.h"
#include "ui/printing/PrintRunner.h"
#include "ui/reports/BusyPointer.h"
#include "ui/reports/DateComboBox.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <array>
#include <optional>

namespace quilloa {
namespace {

using namespace cliniclogwindow;

constexpr int kRowHeight = 255;
constexpr std::array<int, ClinicLogRow::kColumnCount> kColumnWidths{1000, 500,  500, 3500,
                                                                    5000, 1550, 2100};

QGroupBox* frame(QWidget* window, const QString& name, const QString& caption)
{
    auto* box = new QGroupBox(caption, window);
    box->setObjectName(name);
    return box;
}

void caption(QWidget* frame, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, frame);
    label->setObjectName(name);
}

QPushButton* button(QWidget* container, const QString& name, const QString& text)
{
    auto* command = new QPushButton(text, container);
    command->setObjectName(name);
    return command;
}

} // namespace

ClinicLogWindow::ClinicLogWindow(const AppContext& context, std::function<QString()> doctor,
                                 QWidget* parent)
    : QDialog(parent), m_context(context), m_doctor(std::move(doctor))
{
    setObjectName(QStringLiteral("form12"));
    setWindowTitle(QStringLiteral("门诊日志"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    buildGrid();
    buildDayFrame();
    buildMonthFrame();
    buildCommands();
    TwipsLayout::apply(this, kPlacements);
    TwipsLayout::fixAndCentre(this, kClientWidth, kClientHeight);
    PlainButtons::install(this);
}

// Row 0 holds the headings as the register's first row, the way the printout reads the grid.
// On screen that row stays hidden and the table's own header shows the same headings, so they
// stay in view while a long month is scrolled.
void ClinicLogWindow::buildGrid()
{
    m_grid = new QTableWidget(2, ClinicLogRow::kColumnCount, this);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->setFont(QFont(QStringLiteral("宋体"), 9));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(twipsToPixels(kRowHeight));
    m_grid->horizontalHeader()->setHighlightSections(false);
    // The style's minimum section would widen the narrow sex and age columns past their width.
    m_grid->horizontalHeader()->setMinimumSectionSize(
        twipsToPixels(*std::min_element(kColumnWidths.begin(), kColumnWidths.end())));
    m_grid->setHorizontalHeaderLabels(ClinicLogRow::headings());
    for (int column = 0; column < ClinicLogRow::kColumnCount; ++column)
        m_grid->setColumnWidth(column, twipsToPixels(kColumnWidths[column]));
    m_grid->setRowHidden(0, true);
    // A narrow column ends a long age or address in "…"; hovering shows the whole text.
    m_grid->setItemDelegate(new ElidedCellTips(m_grid));
    writeHeadings();
}

void ClinicLogWindow::buildDayFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* day = frame(this, QStringLiteral("Frame1"), QStringLiteral("按日查询"));
    m_dayYear = new DateComboBox(0, DateChoices::years(), DateChoices::yearText(today), day);
    caption(day, QStringLiteral("Label1"), QStringLiteral("年"));
    m_dayMonth = new DateComboBox(1, DateChoices::months(), DateChoices::monthText(today), day);
    caption(day, QStringLiteral("Label2"), QStringLiteral("月"));
    m_dayDay = new DateComboBox(2, DateChoices::days(), DateChoices::dayText(today), day);
    caption(day, QStringLiteral("Label3"), QStringLiteral("日"));
    connect(button(day, QStringLiteral("Command1"), QStringLiteral("查  询")),
            &QPushButton::clicked, this, &ClinicLogWindow::runDayQuery);
    for (DateComboBox* box : {m_dayYear, m_dayMonth, m_dayDay})
        connect(box, &DateComboBox::entered, this, &ClinicLogWindow::runDayQuery);
}

void ClinicLogWindow::buildMonthFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* month = frame(this, QStringLiteral("Frame2"), QStringLiteral("按月查询"));
    m_monthYear = new DateComboBox(3, DateChoices::years(), DateChoices::yearText(today), month);
    caption(month, QStringLiteral("Label6"), QStringLiteral("年"));
    m_monthMonth = new DateComboBox(4, DateChoices::months(), DateChoices::monthText(today), month);
    caption(month, QStringLiteral("Label5"), QStringLiteral("月"));
    connect(button(month, QStringLiteral("Command2"), QStringLiteral("查  询")),
            &QPushButton::clicked, this, &ClinicLogWindow::runMonthQuery);
    for (DateComboBox* box : {m_monthYear, m_monthMonth})
        connect(box, &DateComboBox::entered, this, &ClinicLogWindow::runMonthQuery);
}

void ClinicLogWindow::buildCommands()
{
    connect(button(this, QStringLiteral("Command3"), QStringLiteral("打  印")),
            &QPushButton::clicked, this, &ClinicLogWindow::printOnDefaultPrinter);
    // The preview stands above the print button it leads to.
    connect(button(this, QStringLiteral("Command6"), QStringLiteral("预  览")),
            &QPushButton::clicked, this, &ClinicLogWindow::preview);
    connect(button(this, QStringLiteral("Command4"), QStringLiteral("退  出")),
            &QPushButton::clicked, this, &QDialog::close);
    QPushButton* exportButton = button(this, QStringLiteral("Command5"), QStringLiteral("导  出"));
    connect(exportButton, &QPushButton::clicked, this, &ClinicLogWindow::exportWithDialog);
}

void ClinicLogWindow::writeHeadings()
{
    const QStringList headings = ClinicLogRow::headings();
    for (int column = 0; column < headings.size(); ++column)
        m_grid->setItem(0, column, new QTableWidgetItem(headings[column]));
}

void ClinicLogWindow::runDayQuery()
{
    runQuery(ReportPeriod::day(m_dayYear->currentText(), m_dayMonth->currentText(),
                               m_dayDay->currentText()));
}

void ClinicLogWindow::runMonthQuery()
{
    runQuery(ReportPeriod::month(m_monthYear->currentText(), m_monthMonth->currentText()));
}

// The grid is emptied before the store is read, so a query that fails leaves the headings and
// one empty row rather than the rows of an earlier query.
void ClinicLogWindow::runQuery(const ReportPeriod& period)
{
    std::optional<BusyPointer> busy(std::in_place);
    m_shownPeriod.reset();
    m_shownRows.clear();
    m_grid->clearContents();
    m_grid->setRowCount(2);
    writeHeadings();
    const StoreResult<QList<ClinicLogRow>> rows = ClinicLogQuery::rows(m_context.archive(), period);
    if (!rows.ok()) {
        // Told, so that a failed read never passes for a period without visits.
        busy.reset();
        PlainDialog::warn(this, windowTitle(),
                          QStringLiteral("门诊日志读取失败：%1").arg(rows.error()));
        return;
    }
    fillGrid(rows.value());
    m_shownPeriod = period;
    m_shownRows = rows.value();
}

void ClinicLogWindow::fillGrid(const QList<ClinicLogRow>& rows)
{
    if (rows.isEmpty())
        return;
    m_grid->setUpdatesEnabled(false);
    m_grid->setRowCount(int(rows.size()) + 1);
    for (int row = 1; row <= rows.size(); ++row) {
        const QStringList cells = rows[row - 1].cells();
        // The notes column stays without an item: it is filled in by hand on paper.
        for (int column = 0; column < ClinicLogRow::kColumnCount - 1; ++column)
            m_grid->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_grid->setUpdatesEnabled(true);
}

QList<QStringList> ClinicLogWindow::gridRows() const
{
    QList<QStringList> rows;
    rows.reserve(m_grid->rowCount());
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m_grid->columnCount(); ++column) {
            const QTableWidgetItem* cell = m_grid->item(row, column);
            cells << (cell ? cell->text() : QString());
        }
        rows << cells;
    }
    return rows;
}

bool ClinicLogWindow::printRegister(PageDevice& device)
{
    const ClinicLogPrintout printout(gridRows(), m_doctor ? m_doctor() : QString());
    const bool printed = printout.print(device);
    // Printing walks the cells up to the last row's time of visit, and leaves the cursor there.
    m_grid->setCurrentCell(m_grid->rowCount() - 1, ClinicLogPrintout::kPrintedColumns - 1);
    return printed;
}

QString ClinicLogWindow::jobName() const
{
    return ClinicLogPrintout(gridRows(), QString()).jobName(m_context.clock().now().date());
}

void ClinicLogWindow::printOnDefaultPrinter()
{
    PrintRunner::print(
        this, [this](PageDevice& device) { return printRegister(device); }, jobName());
}

void ClinicLogWindow::preview()
{
    PrintPreviewDialog dialog([this](PageDevice& device) { return printRegister(device); },
                              jobName(), PrintRunner::systemQueue(), this);
    dialog.exec();
}

FileWriteStatus ClinicLogWindow::exportTo(const QString& path) const
{
    if (!m_shownPeriod)
        return FileWriteStatus::failure(
            QStringLiteral("还没有可导出的日志。请先按日或按月查询，再导出。"));
    const SettingsRecord settings = m_context.settings().settings().valueOr(SettingsRecord());
    const ClinicLogSheet sheet(settings.clinicName, *m_shownPeriod, m_shownRows);
    return ClinicLogWriter::forPath(path)->write(sheet, path);
}

void ClinicLogWindow::exportWithDialog()
{
    if (!m_shownPeriod) {
        PlainDialog::inform(this, windowTitle(), exportTo(QString()).message());
        return;
    }
    const QString suggested = QDir::home().filePath(
        QStringLiteral("门诊日志 ") + m_shownPeriod->dateText() + QStringLiteral(".xlsx"));
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出门诊日志"), suggested,
        QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件，UTF-8 (*.csv)"), &filter);
    if (path.isEmpty())
        return;
    const bool named = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
                       path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
    if (!named)
        path += filter.contains(QStringLiteral("*.csv")) ? QStringLiteral(".csv")
                                                         : QStringLiteral(".xlsx");
    BusyPointer busy;
    const FileWriteStatus written = exportTo(path);
    if (!written.ok())
        PlainDialog::warn(this, windowTitle(), written.message());
    else
        PlainDialog::inform(
            this, windowTitle(),
            QStringLiteral("门诊日志已导出到“%1”。").arg(QDir::toNativeSeparators(path)));
}

} // namespace quilloa
