#include "ui/reports/StatisticsWindow.h"

#include "ui/reports/StatisticsWindowLayout.h"

#include "core/reports/DateChoices.h"
#include "core/reports/ReportPeriod.h"
#include "core/reports/WorkloadStatistics.h"
#include "ui/common/PlainButtons.h"
#include "ui/common/TwipsLayout.h"
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

QPushButton* button(QWidget* frame, const QString& name)
{
    auto* command = new QPushButton(QStringLiteral("统 计"), frame);
    command->setObjectName(name);
    return command;
}

} // namespace

StatisticsWindow::StatisticsWindow(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("工作量统计"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    buildDayFrame();
    buildMonthFrame();
    auto* chart = new QPushButton(QStringLiteral("统计图"), this);
    chart->setObjectName(QStringLiteral("Command3"));
    chart->setAutoDefault(false);
    connect(chart, &QPushButton::clicked, this, &StatisticsWindow::showChart);
    TwipsLayout::apply(this, kPlacements);
    TwipsLayout::fixAndCentre(this, kClientWidth, kClientHeight);
    PlainButtons::install(this);
}

void StatisticsWindow::buildDayFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* day = frame(this, QStringLiteral("Frame1"), QStringLiteral("日工作量统计"));
    m_dayYear = new DateComboBox(0, DateChoices::years(), DateChoices::yearText(today), day);
    caption(day, QStringLiteral("Label1"), QStringLiteral("年"));
    m_dayMonth = new DateComboBox(1, DateChoices::months(), DateChoices::monthText(today), day);
    caption(day, QStringLiteral("Label2"), QStringLiteral("月"));
    m_dayDay = new DateComboBox(2, DateChoices::days(), DateChoices::dayText(today), day);
    caption(day, QStringLiteral("Label3"), QStringLiteral("日"));
    connect(button(day, QStringLiteral("Command1")), &QPushButton::clicked, this,
            &StatisticsWindow::showDayStatistics);
    for (DateComboBox* box : {m_dayYear, m_dayMonth, m_dayDay})
        connect(box, &DateComboBox::entered, this, &StatisticsWindow::showDayStatistics);
    m_dayResult = buildResultStrip(day, QStringLiteral("Picture1"), QStringLiteral("Label4"));
}

void StatisticsWindow::buildMonthFrame()
{
    const QDate today = m_context.clock().now().date();
    QGroupBox* month = frame(this, QStringLiteral("Frame2"), QStringLiteral("月工作量统计"));
    m_monthYear = new DateComboBox(3, DateChoices::years(), DateChoices::yearText(today), month);
    caption(month, QStringLiteral("Label6"), QStringLiteral("年"));
    m_monthMonth = new DateComboBox(4, DateChoices::months(), DateChoices::monthText(today), month);
    caption(month, QStringLiteral("Label5"), QStringLiteral("月"));
    connect(button(month, QStringLiteral("Command2")), &QPushButton::clicked, this,
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
