#pragma once

#include "core/exchange/FileWriteStatus.h"
#include "core/reports/TakingsSeries.h"
#include "core/startup/AppContext.h"

#include <QDialog>

#include <optional>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;

namespace quilloa {

// "统计图": visits and takings as bars, day by day through a month or month by month through a
// year, with the period's totals beneath; the picture can be saved as PNG.
class TakingsChartWindow : public QDialog
{
    Q_OBJECT
public:
    TakingsChartWindow(const AppContext& context, const QString& year, const QString& month,
                       QWidget* parent = nullptr);

    void showDays();
    void showMonths();
    // The series on show; none before the first chart or after a store that could not be read.
    const std::optional<TakingsSeries>& shownSeries() const { return m_series; }
    QString totalText() const;
    // The two charts and the totals as one picture.
    FileWriteStatus savePicture(const QString& path);

private:
    void buildControls(const QString& year, const QString& month);
    QPushButton* addButton(const char* name, const QString& caption);
    void showSeries(const StoreResult<TakingsSeries>& series);
    void fillCharts();
    void saveWithDialog();

    AppContext m_context;
    QComboBox* m_year = nullptr;
    QComboBox* m_month = nullptr;
    QWidget* m_picture = nullptr;
    QChartView* m_visitsView = nullptr;
    QChartView* m_takingsView = nullptr;
    QLabel* m_total = nullptr;
    QWidget* m_buttonRow = nullptr;
    std::optional<TakingsSeries> m_series;
};

} // namespace quilloa
