#include "ui/reports/TakingsChartWindow.h"

#include "ui/common/ChineseFaces.h"

#include "core/reports/DateChoices.h"
#include "ui/common/PlainMessage.h"
#include "ui/common/ScreenPlacement.h"
#include "ui/reports/BusyPointer.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <QValueAxis>
#include <cmath>

namespace quilloa {
namespace {

constexpr int kInitialWidth = 900;
constexpr int kInitialHeight = 640;

QComboBox* dateBox(const QStringList& entries, const QString& text, const char* name)
{
    auto* box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(entries);
    box->setCurrentText(text);
    return box;
}

QChartView* chartView(const char* name)
{
    auto* view = new QChartView(new QChart);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->chart()->legend()->hide();
    return view;
}

double yuan(const WorkloadTotals& totals)
{
    if (!totals.takings || totals.takingsOutOfRange)
        return 0.0;
    return double(totals.takings->units()) / double(Money::kScale);
}

// A value axis from 0 whose ticks fall on whole numbers for counts. The chart gives each tick
// label only its share of the axis' height and cuts a label that is taller to "…", so a half
// chart at the window's opening size holds six ticks at most, and labels are never cut.
QValueAxis* values(double highest, bool whole)
{
    auto* axis = new QValueAxis;
    axis->setTruncateLabels(false);
    constexpr int kMostWholeTicks = 10;
    constexpr int kMostSteps = 5;
    const double top = highest > 0 ? highest : 1;
    if (whole && top <= kMostWholeTicks) {
        const int step = top > kMostSteps ? 2 : 1;
        const int steps = (int(std::ceil(top)) + step - 1) / step;
        axis->setRange(0, steps * step);
        axis->setTickCount(steps + 1);
        axis->setLabelFormat(QStringLiteral("%.0f"));
        return axis;
    }
    axis->setRange(0, top);
    axis->setTickCount(kMostSteps + 1);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%g"));
    return axis;
}

// One bar chart of the series: its categories are the bars' labels.
void fill(QChart* chart, const QString& title, const QList<TakingsSeries::Bar>& bars,
          double (*value)(const WorkloadTotals&), const QColor& colour, bool whole)
{
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    chart->setTitle(title);
    auto* set = new QBarSet(title);
    set->setColor(colour);
    QStringList labels;
    double highest = 0;
    for (const TakingsSeries::Bar& bar : bars) {
        labels << bar.label;
        const double v = value(bar.totals);
        *set << v;
        highest = qMax(highest, v);
    }
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->setTruncateLabels(false);
    categories->append(labels);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    chart->addAxis(values(highest, whole), Qt::AlignLeft);
    series->attachAxis(chart->axes(Qt::Vertical).first());
}

} // namespace

TakingsChartWindow::TakingsChartWindow(const AppContext& context, const QString& year,
                                       const QString& month, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("TakingsChart"));
    setWindowTitle(QStringLiteral("统计图"));
    setFont(ChineseFaces::font(u"宋体", 9));
    buildControls(year, month);
    resize(ScreenPlacement::fitted(QSize(kInitialWidth, kInitialHeight)));
}

void TakingsChartWindow::buildControls(const QString& year, const QString& month)
{
    m_year = dateBox(DateChoices::years(), year, "ChartYear");
    m_month = dateBox(DateChoices::months(), month, "ChartMonth");
    m_buttonRow = new QWidget;
    auto* row = new QHBoxLayout(m_buttonRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_year);
    row->addWidget(new QLabel(QStringLiteral("年")));
    row->addWidget(m_month);
    row->addWidget(new QLabel(QStringLiteral("月")));
    row->addWidget(addButton("ChartDays", QStringLiteral("本月每日")));
    row->addWidget(addButton("ChartMonths", QStringLiteral("本年每月")));
    row->addStretch();
    row->addWidget(addButton("ChartSave", QStringLiteral("保存图片")));
    row->addWidget(addButton("ChartClose", QStringLiteral("退  出")));

    m_picture = new QWidget;
    auto* pictureLayout = new QVBoxLayout(m_picture);
    m_visitsView = chartView("ChartVisits");
    m_takingsView = chartView("ChartTakings");
    m_total = new QLabel;
    m_total->setObjectName(QStringLiteral("ChartTotal"));
    m_total->setTextFormat(Qt::PlainText);
    pictureLayout->addWidget(m_visitsView);
    pictureLayout->addWidget(m_takingsView);
    pictureLayout->addWidget(m_total);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_buttonRow);
    layout->addWidget(m_picture, 1);

    connect(findChild<QPushButton*>(QStringLiteral("ChartDays")), &QPushButton::clicked, this,
            &TakingsChartWindow::showDays);
    connect(findChild<QPushButton*>(QStringLiteral("ChartMonths")), &QPushButton::clicked, this,
            &TakingsChartWindow::showMonths);
    connect(findChild<QPushButton*>(QStringLiteral("ChartSave")), &QPushButton::clicked, this,
            &TakingsChartWindow::saveWithDialog);
    connect(findChild<QPushButton*>(QStringLiteral("ChartClose")), &QPushButton::clicked, this,
            &QDialog::close);
}

QPushButton* TakingsChartWindow::addButton(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void TakingsChartWindow::showDays()
{
    BusyPointer busy;
    showSeries(TakingsSeries::daysOfMonth(m_context.archive(), m_year->currentText(),
                                          m_month->currentText()));
}

void TakingsChartWindow::showMonths()
{
    BusyPointer busy;
    showSeries(TakingsSeries::monthsOfYear(m_context.archive(), m_year->currentText()));
}

// A store that cannot be read shows no bars at all rather than bars of nothing.
void TakingsChartWindow::showSeries(const StoreResult<TakingsSeries>& series)
{
    if (!series.ok()) {
        m_series.reset();
        fillCharts();
        PlainMessage::warn(this, windowTitle(),
                           QStringLiteral("无法读取档案库，统计图没有画出。请确认数据库文件夹中的"
                                          "档案.dat 存在并且没有被其他程序占用，然后再试。"));
        return;
    }
    m_series = series.value();
    fillCharts();
}

void TakingsChartWindow::fillCharts()
{
    const QList<TakingsSeries::Bar> bars =
        m_series ? m_series->bars() : QList<TakingsSeries::Bar>();
    const QString period = m_series ? m_series->title() + QStringLiteral("：") : QString();
    fill(
        m_visitsView->chart(), period + QStringLiteral("门诊处方数（张）"), bars,
        [](const WorkloadTotals& t) { return double(t.count); }, QColor(0x3a, 0x6e, 0xa5), true);
    fill(m_takingsView->chart(), period + QStringLiteral("业务额（元）"), bars, &yuan,
         QColor(0xc0, 0x50, 0x4d), false);
    m_total->setText(totalText());
}

QString TakingsChartWindow::totalText() const
{
    return m_series ? QStringLiteral("合计：") + m_series->total().text() : QString();
}

FileWriteStatus TakingsChartWindow::savePicture(const QString& path)
{
    const QPixmap picture = m_picture->grab();
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        return FileWriteStatus::failure(FileWriteStatus::cannotWrite(path));
    return FileWriteStatus::replaceFile(path, png);
}

void TakingsChartWindow::saveWithDialog()
{
    if (!m_series) {
        PlainMessage::inform(this, windowTitle(),
                             QStringLiteral("还没有统计图。请先点“本月每日”或“本年每月”。"));
        return;
    }
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("保存统计图"),
        QDir::home().filePath(QStringLiteral("统计图 ") + m_series->title().section(' ', 0, 0) +
                              QStringLiteral(".png")),
        QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    const FileWriteStatus saved = savePicture(path);
    if (!saved.ok())
        PlainMessage::warn(this, windowTitle(), saved.message());
}

} // namespace quilloa
