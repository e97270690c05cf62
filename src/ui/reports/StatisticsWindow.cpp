#include "ui/reports/StatisticsWindow.h"

#include "ui/common/ChineseFaces.h"
#include "ui/reports/StatisticsWindowLayout.h"

#include "core/reports/DateChoices.h"
#include "core/reports/ReportPeriod.h"
#include "core/reports/WorkloadStatistics.h"
#include "ui/common/PlainButtons.h"
#include "ui/common/TwipsLayout.h"
#include "ui/maintenance/WindowControls.h"
#include "ui/reports/BusyPointer.h"
#include "ui/reports/DateComboBox.h"
#include "ui/reports/TakingsChartWindow.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace quilloa {
namespace {

using namespace statisticswindow;

using controls::named;

QPushButton* button(QWidget* frame, const char* name)
{
    return named<QPushButton>(name, QStringLiteral("统 计"), frame);
}

} // namespace

StatisticsWindow::StatisticsWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("工作量统计"));
    setFont(ChineseFaces::font(u"宋体", 9));
    buildDayFrame();
    buildMonthFrame();
    auto* chart = named<QPushButton>("Command3", QStringLiteral("统计图"), this);
    chart->setAutoDefault(false);
    connect(chart, &QPushButton::clicked, this, &StatisticsWindow::showChart);
    TwipsLayout::apply(this, kPlacements);
    TwipsLayout::fixAndCentre(this, kClientWidth, kClientHeight);
    PlainButtons::install(this);
}

void StatisticsWindow::buildDayFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* day = named<QGroupBox>("Frame1", QStringLiteral("日工作量统计"), this);
    m_dayYear = new DateComboBox(0, DateChoices::years(), DateChoices::yearText(today), day);
    named<QLabel>("Label1", QStringLiteral("年"), day);
    m_dayMonth = new DateComboBox(1, DateChoices::months(), DateChoices::monthText(today), day);
    named<QLabel>("Label2", QStringLiteral("月"), day);
    m_dayDay = new DateComboBox(2, DateChoices::days(), DateChoices::dayText(today), day);
    named<QLabel>("Label3", QStringLiteral("日"), day);
    connect(button(day, "Command1"), &QPushButton::clicked, this,
            &StatisticsWindow::showDayStatistics);
    for (DateComboBox* box : {m_dayYear, m_dayMonth, m_dayDay})
        connect(box, &DateComboBox::entered, this, &StatisticsWindow::showDayStatistics);
    m_dayResult = buildResultStrip(day, QStringLiteral("Picture1"), QStringLiteral("Label4"));
}

void StatisticsWindow::buildMonthFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* month = named<QGroupBox>("Frame2", QStringLiteral("月工作量统计"), this);
    m_monthYear = new DateComboBox(3, DateChoices::years(), DateChoices::yearText(today), month);
    named<QLabel>("Label6", QStringLiteral("年"), month);
    m_monthMonth = new DateComboBox(4, DateChoices::months(), DateChoices::monthText(today), month);
    named<QLabel>("Label5", QStringLiteral("月"), month);
    connect(button(month, "Command2"), &QPushButton::clicked, this,
            &StatisticsWindow::showMonthStatistics);
    for (DateComboBox* box : {m_monthYear, m_monthMonth})
        connect(box, &DateComboBox::entered, this, &StatisticsWindow::showMonthStatistics);
    m_monthResult = buildResultStrip(month, QStringLiteral("Picture2"), QStringLiteral("Label7"));
}

QLabel* StatisticsWindow::buildResultStrip(QGroupBox* frame, const QString& stripName,
                                           const QString& labelName)
{
    auto* strip = new QFrame(frame);
    strip->setObjectName(stripName);
    strip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* result = new QLabel(strip);
    result->setObjectName(labelName);
    result->setTextFormat(Qt::PlainText);
    QPalette blue = result->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    result->setPalette(blue);
    return result;
}

void StatisticsWindow::showDayStatistics()
{
    showStatistics(ReportPeriod::day(m_dayYear->currentText(), m_dayMonth->currentText(),
                                     m_dayDay->currentText()),
                   m_dayResult);
}

void StatisticsWindow::showMonthStatistics()
{
    showStatistics(ReportPeriod::month(m_monthYear->currentText(), m_monthMonth->currentText()),
                   m_monthResult);
}

// A store that cannot be read counts as a period without records.
void StatisticsWindow::showStatistics(const ReportPeriod& period, QLabel* result)
{
    BusyPointer busy;
    const StoreResult<WorkloadTotals> totals = WorkloadStatistics::of(m_context.archive(), period);
    result->setText(totals.ok() ? totals.value().text() : WorkloadTotals().text());
    result->adjustSize();
}

TakingsChartWindow* StatisticsWindow::showChart()
{
    if (!m_chart) {
        m_chart = new TakingsChartWindow(m_context, m_monthYear->currentText(),
                                         m_monthMonth->currentText(), this);
        m_chart->setAttribute(Qt::WA_DeleteOnClose);
        m_chart->showDays();
    }
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
    return m_chart;
}

} // namespace quilloa
