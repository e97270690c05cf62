#pragma once

#include "core/startup/AppContext.h"

#include <QDialog>
#include <QPointer>

class QGroupBox;
class QLabel;

namespace quilloa {

class DateComboBox;
class ReportPeriod;
class TakingsChartWindow;

// "工作量统计": prescriptions and takings of a day or a month.
class StatisticsWindow : public QDialog
{
    Q_OBJECT
public:
    explicit StatisticsWindow(const AppContext& context, QWidget* parent = nullptr);

    // Shows the takings chart for the year and month of the month statistics, or brings the
    // open one to the front.
    TakingsChartWindow* showChart();

private:
    void buildDayFrame();
    void buildMonthFrame();
    QLabel* buildResultStrip(QGroupBox* frame, const QString& stripName, const QString& labelName);
    void showDayStatistics();
    void showMonthStatistics();
    void showStatistics(const ReportPeriod& period, QLabel* result);

    AppContext m_context;
    DateComboBox* m_dayYear = nullptr;
    DateComboBox* m_dayMonth = nullptr;
    DateComboBox* m_dayDay = nullptr;
    DateComboBox* m_monthYear = nullptr;
    DateComboBox* m_monthMonth = nullptr;
    QLabel* m_dayResult = nullptr;
    QLabel* m_monthResult = nullptr;
    QPointer<TakingsChartWindow> m_chart;
};

} // namespace quilloa
