#include "ui/reports/ClinicLogWindow.h"

#include "ui/common/ChineseFaces.h"
#include "ui/reports/ClinicLogWindowLayout.h"

#include "core/printing/ClinicLogPrintout.h"
#include "core/reports/ClinicLogFormat.h"
#include "core/reports/ClinicLogQuery.h"
#include "core/reports/ClinicLogSheet.h"
#include "core/reports/DateChoices.h"
#include "core/reports/ReportPeriod.h"
#include "core/settings/ClinicSettings.h"
#include "ui/common/CachedCellDelegate.h"
#include "ui/common/PlainButtons.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/Twips.h"
#include "ui/common/TwipsLayout.h"
#include "ui/maintenance/WindowControls.h"
#include "ui/printing/PrintPreviewDialog.h"
#include "ui/printing/PrintRunner.h"
#include "ui/reports/BusyPointer.h"
#include "ui/reports/ClinicLogModel.h"
#include "ui/reports/DateComboBox.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <array>
#include <optional>

namespace quilloa {
namespace {

using namespace cliniclogwindow;

using controls::named;
constexpr const auto& kColumnWidths = ClinicLogRow::kColumnWidths;

} // namespace

ClinicLogWindow::ClinicLogWindow(const AppContext& context, std::function<QString()> doctor,
                                 QWidget* parent)
    : QDialog(parent), m_context(context), m_doctor(std::move(doctor))
{
    setObjectName(QStringLiteral("form12"));
    setWindowTitle(QStringLiteral("门诊日志"));
    setFont(ChineseFaces::font(u"宋体", 9));
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
    m_model = new ClinicLogModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->setFont(ChineseFaces::font(u"宋体", 9));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // The arrows walk the cells; Tab leaves the grid for the query boxes below it.
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(twipsToPixels(kGridRowHeight));
    m_grid->horizontalHeader()->setHighlightSections(false);
    // The style's minimum section would widen the narrow sex and age columns past their width.
    m_grid->horizontalHeader()->setMinimumSectionSize(
        twipsToPixels(*std::min_element(kColumnWidths.begin(), kColumnWidths.end())));
    m_grid->setModel(m_model);
    // A narrow column ends a long age or address in "…"; hovering shows the whole text.
    m_grid->setItemDelegate(new CachedCellDelegate(m_grid));
    m_grid->installEventFilter(this);
    shapeGrid();
}

// A grid reached by Tab after a query has no current cell, and so nothing that shows it holds
// the focus: the first cell of the register becomes current, without being chosen.
bool ClinicLogWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::FocusIn &&
        !m_grid->currentIndex().isValid() && m_model->rowCount() > 1)
        m_grid->selectionModel()->setCurrentIndex(m_model->index(1, 0),
                                                  QItemSelectionModel::NoUpdate);
    return QDialog::eventFilter(watched, event);
}

// Queries keep the heading row and the columns, so their shape is set once.
void ClinicLogWindow::shapeGrid()
{
    for (int column = 0; column < ClinicLogRow::kColumnCount; ++column)
        m_grid->setColumnWidth(column, twipsToPixels(kColumnWidths[column]));
    m_grid->setRowHidden(0, true);
}

void ClinicLogWindow::buildDayFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* day = named<QGroupBox>("Frame1", QStringLiteral("按日查询"), this);
    m_dayYear = new DateComboBox(0, DateChoices::years(), DateChoices::yearText(today), day);
    named<QLabel>("Label1", QStringLiteral("年"), day);
    m_dayMonth = new DateComboBox(1, DateChoices::months(), DateChoices::monthText(today), day);
    named<QLabel>("Label2", QStringLiteral("月"), day);
    m_dayDay = new DateComboBox(2, DateChoices::days(), DateChoices::dayText(today), day);
    named<QLabel>("Label3", QStringLiteral("日"), day);
    connect(named<QPushButton>("Command1", QStringLiteral("查  询"), day), &QPushButton::clicked,
            this, &ClinicLogWindow::runDayQuery);
    for (DateComboBox* box : {m_dayYear, m_dayMonth, m_dayDay})
        connect(box, &DateComboBox::entered, this, &ClinicLogWindow::runDayQuery);
}

void ClinicLogWindow::buildMonthFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* month = named<QGroupBox>("Frame2", QStringLiteral("按月查询"), this);
    m_monthYear = new DateComboBox(3, DateChoices::years(), DateChoices::yearText(today), month);
    named<QLabel>("Label6", QStringLiteral("年"), month);
    m_monthMonth = new DateComboBox(4, DateChoices::months(), DateChoices::monthText(today), month);
    named<QLabel>("Label5", QStringLiteral("月"), month);
    connect(named<QPushButton>("Command2", QStringLiteral("查  询"), month), &QPushButton::clicked,
            this, &ClinicLogWindow::runMonthQuery);
    for (DateComboBox* box : {m_monthYear, m_monthMonth})
        connect(box, &DateComboBox::entered, this, &ClinicLogWindow::runMonthQuery);
}

void ClinicLogWindow::buildCommands()
{
    connect(named<QPushButton>("Command3", QStringLiteral("打  印"), this), &QPushButton::clicked,
            this, &ClinicLogWindow::printOnDefaultPrinter);
    // The preview stands above the print button it leads to.
    connect(named<QPushButton>("Command6", QStringLiteral("预  览"), this), &QPushButton::clicked,
            this, &ClinicLogWindow::preview);
    connect(named<QPushButton>("Command4", QStringLiteral("退  出"), this), &QPushButton::clicked,
            this, &QDialog::close);
    QPushButton* exportButton = named<QPushButton>("Command5", QStringLiteral("导  出"), this);
    connect(exportButton, &QPushButton::clicked, this, &ClinicLogWindow::exportWithDialog);
    // Tab takes the buttons as they stand, left to right, the preview before the print below it.
    QWidget* previous = findChild<QPushButton*>(QStringLiteral("Command2"));
    for (const char* name : {"Command5", "Command6", "Command3", "Command4"}) {
        QWidget* next = findChild<QPushButton*>(QLatin1String(name));
        setTabOrder(previous, next);
        previous = next;
    }
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

// A query that fails leaves the headings and one empty row rather than the rows of an earlier
// query. Emptying the grid before the read would have it painted whole twice for one query.
void ClinicLogWindow::runQuery(const ReportPeriod& period)
{
    std::optional<BusyPointer> busy(std::in_place);
    m_shownPeriod.reset();
    StoreResult<QList<ClinicLogRow>> rows = ClinicLogQuery::rows(m_context.archive(), period);
    if (!rows.ok()) {
        showRows({});
        // Told, so that a failed read never passes for a period without visits.
        busy.reset();
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("门诊日志读取失败：%1").arg(rows.error()));
        return;
    }
    showRows(rows.takeValue());
    m_shownPeriod = period;
}

// Each query shows its register from the top, with no cell chosen.
void ClinicLogWindow::showRows(QList<ClinicLogRow> rows)
{
    m_model->show(std::move(rows));
    m_grid->selectionModel()->clear();
    m_grid->scrollToTop();
}

QList<QStringList> ClinicLogWindow::gridRows() const
{
    QList<QStringList> rows;
    rows.reserve(m_model->rowCount());
    for (int row = 0; row < m_model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m_model->columnCount(); ++column)
            cells << m_model->cellText(row, column);
        rows << cells;
    }
    return rows;
}

bool ClinicLogWindow::printRegister(PageDevice& device)
{
    const ClinicLogPrintout printout(gridRows(), m_doctor ? m_doctor() : QString());
    const bool printed = printout.print(device);
    // Printing walks the cells up to the last row's time of visit, and leaves the cursor there.
    m_grid->setCurrentIndex(
        m_model->index(m_model->rowCount() - 1, ClinicLogPrintout::kPrintedColumns - 1));
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
    const ClinicSettings settings(m_context.settings(), m_context.archive());
    const ClinicLogSheet sheet(settings.storedClinicName(), *m_shownPeriod, m_model->visits());
    return ClinicLogFormat::writerFor(path)->write(sheet, path);
}

void ClinicLogWindow::exportWithDialog()
{
    if (!m_shownPeriod) {
        PlainMessage::inform(this, windowTitle(), exportTo(QString()).message());
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
    const bool hasSuffix = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
                           path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
    if (!hasSuffix)
        path += filter.contains(QStringLiteral("*.csv")) ? QStringLiteral(".csv")
                                                         : QStringLiteral(".xlsx");
    BusyPointer busy;
    const FileWriteStatus written = exportTo(path);
    if (!written.ok())
        PlainMessage::warn(this, windowTitle(), written.message());
    else
        PlainMessage::inform(
            this, windowTitle(),
            QStringLiteral("门诊日志已导出到“%1”。").arg(QDir::toNativeSeparators(path)));
}

} // namespace quilloa
