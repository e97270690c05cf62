#include "core/store/ArchiveStore.h"
#include "support/TestProgramFolder.h"
#include "ui/reports/StatisticsWindow.h"
#include "ui/reports/StatisticsWindowLayout.h"
#include "ui/support/LayoutCheck.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quilloa;
using quilloa::test::LayoutCheck;
using quilloa::test::TestProgramFolder;

namespace {

void addVisit(const TestProgramFolder& folder, const QString& key, const QString& fee)
{
    ArchiveStore store(folder.paths().archiveFile);
    PrescriptionRecord r;
    r.key = key;
    r.name = QStringLiteral("张三");
    r.date = key.left(10);
    if (!fee.isEmpty())
        r.fee = Money::fromLeadingNumber(fee);
    QVERIFY(store.add(r).ok());
}

QComboBox* box(QWidget& window, int index)
{
    return window.findChild<QComboBox*>(QStringLiteral("Combo1_%1").arg(index));
}

QString text(QWidget& window, const char* labelName)
{
    return window.findChild<QLabel*>(QString::fromLatin1(labelName))->text();
}

void click(QWidget& window, const char* buttonName)
{
    QTest::mouseClick(window.findChild<QPushButton*>(QString::fromLatin1(buttonName)),
                      Qt::LeftButton);
}

void type(QComboBox* combo, const QString& typed)
{
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), typed);
}

} // namespace

class TestStatisticsWindow : public QObject
{
    Q_OBJECT
private slots:
    void opensWithTodaysPartsAndEmptyResults()
    {
        TestProgramFolder folder;
        StatisticsWindow window(folder.context());
        QCOMPARE(window.objectName(), QStringLiteral("Form6"));
        QCOMPARE(window.windowTitle(), QStringLiteral("工作量统计"));
        // One row taller than the two frames, for the chart button below them.
        QCOMPARE(window.size(), QSize(twipsToPixels(statisticswindow::kClientWidth),
                                      twipsToPixels(statisticswindow::kClientHeight)));
        QCOMPARE(window.findChild<QGroupBox*>("Frame1")->title(), QStringLiteral("日工作量统计"));
        QCOMPARE(window.findChild<QGroupBox*>("Frame2")->title(), QStringLiteral("月工作量统计"));
        QCOMPARE(window.findChild<QPushButton*>("Command2")->text(), QStringLiteral("统 计"));
        const QStringList faults = LayoutCheck::all(&window, statisticswindow::kPlacements);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

        const QStringList expected{"2009", "03", "25", "2009", "03"};
        const QList<int> listSizes{11, 12, 31, 11, 12};
        for (int i = 0; i < 5; ++i) {
            QVERIFY(box(window, i)->isEditable());
            QCOMPARE(box(window, i)->currentText(), expected[i]);
            QCOMPARE(box(window, i)->count(), listSizes[i]);
        }
        QCOMPARE(text(window, "Label4"), QString());
        QCOMPARE(text(window, "Label7"), QString());
    }

    void dayAndMonthResultsKeepToTheirOwnLabel()
    {
        TestProgramFolder folder;
        addVisit(folder, QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("12.5"));
        addVisit(folder, QStringLiteral("2009-03-25 09:00:00"), QStringLiteral("7"));
        addVisit(folder, QStringLiteral("2009-03-25 10:00:00"), QStringLiteral("0"));
        addVisit(folder, QStringLiteral("2009-03-02 10:00:00"), QStringLiteral(""));
        StatisticsWindow window(folder.context());

        click(window, "Command1");
        QCOMPARE(text(window, "Label4"), QStringLiteral("门诊处方数：3张，业务额：19.5元"));
        QCOMPARE(text(window, "Label7"), QString());
        click(window, "Command2");
        QCOMPARE(text(window, "Label7"), QStringLiteral("门诊处方数：4张，业务额：19.5元"));

        box(window, 2)->setCurrentIndex(1); // the 2nd, picked from the list
        QCOMPARE(box(window, 2)->currentText(), QStringLiteral("02"));
        click(window, "Command1");
        QCOMPARE(text(window, "Label4"), QStringLiteral("门诊处方数：1张，业务额：元"));
        QCOMPARE(text(window, "Label7"), QStringLiteral("门诊处方数：4张，业务额：19.5元"));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Enter in a box runs the query of the frame the box stands in. The key goes to the box,
    // which holds the focus, as the user's key does; its line edit is passed no event of its own.
    void enterRunsTheQueryOfItsOwnBox()
    {
        TestProgramFolder folder;
        addVisit(folder, QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("12.5"));
        addVisit(folder, QStringLiteral("2009-03-02 10:00:00"), QStringLiteral("7"));
        StatisticsWindow window(folder.context());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto result = [&](const char* name) { return window.findChild<QLabel*>(name); };
        for (int i = 0; i < 5; ++i) {
            const bool dayBox = i < 3;
            result("Label4")->clear();
            result("Label7")->clear();
            box(window, i)->setFocus();
            QTest::keyClick(box(window, i), i % 2 ? Qt::Key_Enter : Qt::Key_Return);
            QCOMPARE(text(window, dayBox ? "Label4" : "Label7"),
                     dayBox ? QStringLiteral("门诊处方数：1张，业务额：12.5元")
                            : QStringLiteral("门诊处方数：2张，业务额：19.5元"));
            QCOMPARE(text(window, dayBox ? "Label7" : "Label4"), QString());
        }
        type(box(window, 3), QStringLiteral("2008"));
        QTest::keyClick(box(window, 3), Qt::Key_Enter);
        QCOMPARE(text(window, "Label7"), QStringLiteral("无统计数字"));
    }

    void typedTextIsUsedAsTypedNotCompleted()
    {
        TestProgramFolder folder;
        addVisit(folder, QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("1"));
        StatisticsWindow window(folder.context());
        window.show();
        type(box(window, 4), QStringLiteral("1"));
        QCOMPARE(box(window, 4)->currentText(), QStringLiteral("1"));
        QCOMPARE(box(window, 4)->count(), 12);
        click(window, "Command2");
        QCOMPARE(text(window, "Label7"), QStringLiteral("无统计数字"));
    }

    void yearOutsideTheListIsShownAndUsed()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create,
                                 QDateTime(QDate(2031, 2, 7), QTime(9, 0)));
        addVisit(folder, QStringLiteral("2031-02-07 08:00:00"), QStringLiteral("3.25"));
        StatisticsWindow window(folder.context());
        QCOMPARE(box(window, 0)->currentText(), QStringLiteral("2031"));
        QCOMPARE(box(window, 1)->currentText(), QStringLiteral("02"));
        QCOMPARE(box(window, 2)->currentText(), QStringLiteral("07"));
        QCOMPARE(box(window, 3)->currentText(), QStringLiteral("2031"));
        QCOMPARE(box(window, 0)->count(), 11);
        click(window, "Command1");
        QCOMPARE(text(window, "Label4"), QStringLiteral("门诊处方数：1张，业务额：3.25元"));
        click(window, "Command2");
        QCOMPARE(text(window, "Label7"), QStringLiteral("门诊处方数：1张，业务额：3.25元"));
    }

    void unreadableStoreShowsNoFigures()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        StatisticsWindow window(folder.context());
        click(window, "Command1");
        QCOMPARE(text(window, "Label4"), QStringLiteral("无统计数字"));
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestStatisticsWindow)
#include "TestStatisticsWindow.moc"
