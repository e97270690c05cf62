#include "core/store/ArchiveStore.h"
#include "support/TestProgramFolder.h"
#include "ui/reports/StatisticsWindow.h"
#include "ui/reports/TakingsChartWindow.h"
#include "ui/support/MessageBoxAnswer.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QDir>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

void addVisit(const TestProgramFolder& folder, const QString& date, const QString& fee)
{
    static int serial = 0;
    PrescriptionRecord r;
    r.key = date + QStringLiteral(" 08:%1:00").arg(++serial % 60, 2, 10, QLatin1Char('0'));
    r.name = QStringLiteral("张三");
    r.date = date;
    r.fee = Money::fromLeadingNumber(fee);
    QVERIFY(ArchiveStore(folder.paths().archiveFile).add(r).ok());
}

QList<double> bars(TakingsChartWindow* chart, const char* viewName)
{
    auto* view = chart->findChild<QChartView*>(QString::fromLatin1(viewName));
    const auto series = view->chart()->series();
    if (series.isEmpty())
        return {};
    QBarSet* set = static_cast<QBarSeries*>(series.first())->barSets().first();
    QList<double> values;
    for (int i = 0; i < set->count(); ++i)
        values << set->at(i);
    return values;
}

} // namespace

class TestTakingsChartWindow : public QObject
{
    Q_OBJECT
private slots:
    void chartOfTheMonthAgreesWithTheStatistics()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-03-01", "12.5");
        addVisit(folder, "2009-03-25", "7");
        addVisit(folder, "2009-03-25", "0.5");
        addVisit(folder, "2009-05-02", "20");
        StatisticsWindow window(folder.context());
        QTest::mouseClick(window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton*>("Command3"), Qt::LeftButton);
        auto* chart = window.findChild<TakingsChartWindow*>();
        QVERIFY(chart);
        QVERIFY(chart->isVisible());
        QCOMPARE(chart->totalText(),
                 QStringLiteral("合计：") + window.findChild<QLabel*>("Label7")->text());
        const QList<double> visits = bars(chart, "ChartVisits");
        QCOMPARE(visits.size(), 31);
        QCOMPARE(visits[0], 1.0);
        QCOMPARE(visits[24], 2.0);
        QCOMPARE(bars(chart, "ChartTakings")[24], 7.5);

        QTest::mouseClick(chart->findChild<QPushButton*>("ChartMonths"), Qt::LeftButton);
        QCOMPARE(bars(chart, "ChartVisits"), (QList<double>{0, 0, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(chart->totalText(), QStringLiteral("合计：门诊处方数：4张，业务额：40元"));
        // A second click brings the same chart to the front.
        QTest::mouseClick(window.findChild<QPushButton*>("Command3"), Qt::LeftButton);
        QCOMPARE(window.findChildren<TakingsChartWindow*>().size(), 1);
    }

    void savesAPictureOrSaysWhyNot()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-03-25", "7");
        TakingsChartWindow chart(folder.context(), "2009", "03");
        chart.resize(800, 600);
        chart.showDays();
        QTemporaryDir dir;
        const QString path = dir.filePath("chart.png");
        QVERIFY(chart.savePicture(path).ok());
        QImage saved(path);
        QVERIFY(!saved.isNull());
        QVERIFY(saved.width() > 100);
        const FileWriteStatus refused = chart.savePicture(dir.filePath("missing/chart.png"));
        QVERIFY(!refused.ok());
        QVERIFY(refused.message().contains(QStringLiteral("请确认")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"chart.png"});
    }

    // A small clinic's busy day of nine visits: every label of both axes is a whole number at
    // the size the window opens with, never cut to "…".
    void axisLabelsAreReadableAtTheOpeningSize()
    {
        TestProgramFolder folder;
        for (int visit = 0; visit < 9; ++visit)
            addVisit(folder, "2009-03-16", "12.5");
        TakingsChartWindow chart(folder.context(), "2009", "03");
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.showDays();
        QCoreApplication::processEvents();
        QStringList visitLabels;
        for (const char* name : {"ChartVisits", "ChartTakings"}) {
            auto* view = chart.findChild<QChartView*>(name);
            for (QGraphicsItem* item : view->scene()->items()) {
                if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) {
                    const QString label = text->toPlainText();
                    QVERIFY2(!label.contains(QChar(0x2026)) && !label.contains("..."),
                             qPrintable(label));
                    if (qstrcmp(name, "ChartVisits") == 0)
                        visitLabels << label;
                }
            }
        }
        // The days 1 to 31 below, the counts from 0 to 10 beside.
        QVERIFY2(visitLabels.contains("0") && visitLabels.contains("31") &&
                     visitLabels.count("10") == 2,
                 qPrintable(visitLabels.join(' ')));
    }

    void unreadableStoreDrawsNothing()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        TakingsChartWindow chart(folder.context(), "2009", "03");
        test::MessageBoxAnswer answer(QMessageBox::Ok);
        chart.showMonths();
        QVERIFY(answer.text().contains(QStringLiteral("无法读取档案库")));
        QVERIFY(!chart.shownSeries());
        QVERIFY(bars(&chart, "ChartVisits").isEmpty());
        QCOMPARE(chart.totalText(), QString());
    }
};

QTEST_MAIN(TestTakingsChartWindow)
#include "TestTakingsChartWindow.moc"
