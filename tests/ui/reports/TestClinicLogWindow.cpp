#include "core/store/ArchiveStore.h"
#include "support/TestProgramFolder.h"
#include "support/printing/RecordingPageDevice.h"
#include "ui/common/ChineseFaces.h"
#include "ui/reports/ClinicLogWindow.h"
#include "ui/reports/ClinicLogWindowLayout.h"
#include "ui/startup/FontSetup.h"
#include "ui/support/LayoutCheck.h"
#include "ui/support/MessageBoxAnswer.h"

#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolTip>

using namespace quilloa;
using quilloa::test::LayoutCheck;
using quilloa::test::TestProgramFolder;

namespace {

const QStringList kHeadings{"姓    名", "性别",     "年龄",    "诊    断",
                            "地    址", "就诊时间", "备    注"};

void addVisit(const TestProgramFolder& folder, const QString& key, const QString& name)
{
    ArchiveStore store(folder.paths().archiveFile);
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.sex = QStringLiteral("男");
    r.age = QStringLiteral("8");
    r.date = key.left(10);
    r.diagnosis = QStringLiteral("扁桃体炎");
    r.address = QStringLiteral("西山村");
    QVERIFY(store.add(r).ok());
}

// Visits on one day, a minute apart, named 病人1, 病人2, ...
void addVisits(const TestProgramFolder& folder, int count)
{
    for (int i = 1; i <= count; ++i) {
        const QTime time = QTime(8, 0).addSecs(60 * i);
        addVisit(folder, QStringLiteral("2009-03-25 ") + time.toString("hh:mm:ss"),
                 QStringLiteral("病人%1").arg(i));
    }
}

QTableView* grid(QWidget& window)
{
    return window.findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
}

int rowCount(QWidget& window)
{
    return grid(window)->model()->rowCount();
}

QComboBox* box(QWidget& window, int index)
{
    return window.findChild<QComboBox*>(QStringLiteral("Combo1_%1").arg(index));
}

QString cell(QWidget& window, int row, int column)
{
    return grid(window)->model()->index(row, column).data().toString();
}

QStringList column(QWidget& window, int columnIndex)
{
    QStringList texts;
    for (int row = 1; row < rowCount(window); ++row)
        texts << cell(window, row, columnIndex);
    return texts;
}

void click(QWidget& window, const char* buttonName)
{
    QTest::mouseClick(window.findChild<QPushButton*>(QString::fromLatin1(buttonName)),
                      Qt::LeftButton);
}

QString doctor()
{
    return QStringLiteral("李医生");
}

} // namespace

class TestClinicLogWindow : public QObject
{
    Q_OBJECT
private slots:
    // The program's own faces: their widest glyph once made the header widen narrow columns.
    void initTestCase() { FontSetup::install(); }

    void opensWithHeadingsAndOneEmptyRow()
    {
        TestProgramFolder folder;
        ClinicLogWindow window(folder.context(), doctor);
        QCOMPARE(window.objectName(), QStringLiteral("form12"));
        QCOMPARE(window.windowTitle(), QStringLiteral("门诊日志"));
        QCOMPARE(window.size(), QSize(twipsToPixels(cliniclogwindow::kClientWidth),
                                      twipsToPixels(cliniclogwindow::kClientHeight)));
        const QStringList faults = LayoutCheck::all(&window, cliniclogwindow::kPlacements);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

        QTableView* table = grid(window);
        QCOMPARE(table->model()->columnCount(), 7);
        QCOMPARE(rowCount(window), 2);
        QCOMPARE(window.gridRows(), (QList<QStringList>{kHeadings, QStringList(7)}));
        const QList<int> widths{67, 33, 33, 233, 333, 103, 140};
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(table->columnWidth(c), widths[c]);
            QCOMPARE(table->model()->headerData(c, Qt::Horizontal).toString(), kHeadings[c]);
        }
        // 宋体 as the installed fonts stand for it.
        QCOMPARE(table->font().families(), ChineseFaces::familiesFor(u"宋体"));
        QCOMPARE(table->font().pointSize(), 9);
        QCOMPARE(window.findChild<QPushButton*>("Command3")->text(), QStringLiteral("打  印"));

        const QStringList expected{"2009", "03", "25", "2009", "03"};
        for (int i = 0; i < 5; ++i) {
            QVERIFY(box(window, i)->isEditable());
            QCOMPARE(box(window, i)->currentText(), expected[i]);
        }
        QCOMPARE(box(window, 2)->count(), 31);
    }

    void dayQueryListsVisitsInTheOrderTheyWereStarted()
    {
        TestProgramFolder folder;
        addVisit(folder, QStringLiteral("2009-03-25 15:20:09"), QStringLiteral("Adams"));
        addVisit(folder, QStringLiteral("2009-03-25 08:05:00"), QStringLiteral("Zhou"));
        addVisit(folder, QStringLiteral("2009-03-24 08:00:00"), QStringLiteral("昨天"));
        ClinicLogWindow window(folder.context(), doctor);
        click(window, "Command1");

        QCOMPARE(rowCount(window), 3);
        QCOMPARE(column(window, 0), (QStringList{"Zhou", "Adams"}));
        QCOMPARE(column(window, 5), (QStringList{"2009-03-25 08:05", "2009-03-25 15:20"}));
        QCOMPARE(column(window, 6), (QStringList{"", ""}));
        QCOMPARE(window.gridRows().at(1),
                 (QStringList{"Zhou", "男", "8", "扁桃体炎", "西山村", "2009-03-25 08:05", ""}));
        QCOMPARE(window.gridRows().at(0), kHeadings);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void dayAfterMonthLeavesNothingBehind()
    {
        TestProgramFolder folder;
        addVisit(folder, QStringLiteral("2009-03-01 08:00:00"), QStringLiteral("一日"));
        addVisit(folder, QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("廿五"));
        addVisit(folder, QStringLiteral("2009-03-31 08:00:00"), QStringLiteral("卅一"));
        ClinicLogWindow window(folder.context(), doctor);
        click(window, "Command2");
        QCOMPARE(column(window, 0), (QStringList{"一日", "廿五", "卅一"}));
        // A new list keeps the register's shape.
        QCOMPARE(grid(window)->columnWidth(4), 333);
        QVERIFY(grid(window)->isRowHidden(0));
        click(window, "Command1");
        QCOMPARE(rowCount(window), 2);
        QCOMPARE(column(window, 0), QStringList{"廿五"});

        box(window, 2)->lineEdit()->setText(QStringLiteral("5"));
        click(window, "Command1");
        QCOMPARE(rowCount(window), 2);
        QCOMPARE(window.gridRows(), (QList<QStringList>{kHeadings, QStringList(7)}));
    }

    // Enter in a month box lists the month, in a day box the day; a cell too narrow for its
    // text shows the whole of it on hover, a cell that shows all of it no tooltip.
    void enterRunsItsOwnQueryAndNarrowCellsTellTheirText()
    {
        TestProgramFolder folder;
        addVisit(folder, QStringLiteral("2009-03-01 08:00:00"), QStringLiteral("一日"));
        addVisit(folder, QStringLiteral("2009-03-25 08:00:00"), QStringLiteral("廿五"));
        ArchiveStore store(folder.paths().archiveFile);
        PrescriptionRecord infant;
        infant.key = QStringLiteral("2009-03-25 09:00:00");
        infant.name = QStringLiteral("婴儿");
        infant.age = QStringLiteral("11个月");
        infant.date = QStringLiteral("2009-03-25");
        QVERIFY(store.add(infant).ok());
        ClinicLogWindow window(folder.context(), doctor);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // The key goes to the box itself, which holds the focus, as the user's key does.
        for (int i : {3, 0, 4, 1, 2}) {
            const bool monthBox = i >= 3;
            box(window, i)->setFocus();
            QTest::keyClick(box(window, i), i % 2 ? Qt::Key_Enter : Qt::Key_Return);
            QCOMPARE(column(window, 0), monthBox ? (QStringList{"一日", "廿五", "婴儿"})
                                                 : (QStringList{"廿五", "婴儿"}));
        }

        // Tab walks the window as it stands; the grid shows its focus on a cell of its own.
        grid(window)->setFocus(Qt::TabFocusReason);
        QVERIFY(grid(window)->currentIndex().isValid());
        for (const char* name :
             {"Combo1_0", "Combo1_1", "Combo1_2", "Command1", "Combo1_3", "Combo1_4", "Command2",
              "Command5", "Command6", "Command3", "Command4", "MSFlexGrid1"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
        }

        QWidget* cells = grid(window)->viewport();
        const auto hover = [&](int row, int column) {
            const QPoint at =
                grid(window)->visualRect(grid(window)->model()->index(row, column)).center();
            QHelpEvent tip(QEvent::ToolTip, at, cells->mapToGlobal(at));
            QApplication::sendEvent(cells, &tip);
        };
        hover(2, 2);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("11个月"));
        hover(1, 2);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void yearOutsideTheListIsShownAndQueried()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::Create,
                                 QDateTime(QDate(2008, 12, 31), QTime(23, 59)));
        addVisit(folder, QStringLiteral("2008-12-31 23:50:00"), QStringLiteral("除夕"));
        ClinicLogWindow window(folder.context(), doctor);
        QCOMPARE(box(window, 0)->currentText(), QStringLiteral("2008"));
        QCOMPARE(box(window, 3)->currentText(), QStringLiteral("2008"));
        QCOMPARE(box(window, 4)->currentText(), QStringLiteral("12"));
        click(window, "Command2");
        QCOMPARE(column(window, 0), QStringList{"除夕"});
    }

    void unreadableStoreLeavesHeadingsAndOneEmptyRow()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        ClinicLogWindow window(folder.context(), doctor);
        test::MessageBoxAnswer answer(QMessageBox::Ok);
        click(window, "Command2");
        QCOMPARE(window.gridRows(), (QList<QStringList>{kHeadings, QStringList(7)}));
        QVERIFY(answer.text().startsWith(QStringLiteral("门诊日志读取失败")));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void printsTheGridAsItStandsWithTheDoctor()
    {
        TestProgramFolder folder;
        addVisits(folder, 21);
        QString currentDoctor = QStringLiteral("李医生");
        ClinicLogWindow window(folder.context(), [&] { return currentDoctor; });
        click(window, "Command1");
        QCOMPARE(rowCount(window), 22);
        currentDoctor = QStringLiteral("赵医生");

        RecordingPageDevice device;
        QVERIFY(window.printRegister(device));
        QCOMPARE(device.pageCount(), 2);
        QStringList texts;
        for (const PageItem& item : device.texts())
            texts << item.text;
        QCOMPARE(texts.count(QStringLiteral("医生：赵医生")), 2);
        QVERIFY(texts.contains(QStringLiteral("第2页共2页")));
        QCOMPARE(texts.count(QStringLiteral("病人21")), 1);
        // The grid's heading row is not a visit: its texts print only as the bold headings.
        for (const PageItem& item : device.texts()) {
            if (kHeadings.contains(item.text))
                QVERIFY(item.font.bold);
        }
        QCOMPARE(grid(window)->currentIndex().row(), 21);
        QCOMPARE(grid(window)->currentIndex().column(), 5);
    }

    void refusedJobIsReportedToTheCaller()
    {
        TestProgramFolder folder;
        ClinicLogWindow window(folder.context(), doctor);
        RecordingPageDevice device;
        device.refuseJob(QStringLiteral("没有默认打印机，无法打印。"));
        QVERIFY(!window.printRegister(device));
        QCOMPARE(device.texts().size(), 0);
    }

    void quitClosesAndDiscardsTheWindow()
    {
        TestProgramFolder folder;
        QPointer<ClinicLogWindow> window = new ClinicLogWindow(folder.context(), doctor);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        click(*window, "Command4");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }
};

QTEST_MAIN(TestClinicLogWindow)
#include "TestClinicLogWindow.moc"
