#include "core/rtf/RtfReader.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "support/ListLines.h"
#include "support/SetUp.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"
#include "support/printing/RecordingPageDevice.h"
#include "ui/entry/ArchivePanel.h"
#include "ui/entry/ArchivePanelLayout.h"
#include "ui/entry/DrugPanel.h"
#include "ui/entry/DrugPanelLayout.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/OnlineHelp.h"
#include "ui/support/LayoutCheck.h"
#include "ui/support/MessageBoxAnswer.h"
#include "ui/support/UserInput.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using namespace quilloa;
using quilloa::test::DamagedStore;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::TestProgramFolder;

namespace {

PrescriptionRecord record(const QString& name, const QString& key)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = key.left(10);
    return r;
}

// A recorder whose requests outlive the print job, which owns and deletes its device.
class KeptRecorder : public RecordingPageDevice
{
public:
    explicit KeptRecorder(std::shared_ptr<QList<PageItem>> kept, QString refusal)
        : m_kept(std::move(kept))
    {
        if (!refusal.isEmpty())
            refuseJob(refusal);
    }
    ~KeptRecorder() override { *m_kept = items(); }

private:
    std::shared_ptr<QList<PageItem>> m_kept;
};

QStringList printedTexts(const QList<PageItem>& items)
{
    QStringList texts;
    for (const PageItem& item : items) {
        if (item.kind == PageItem::Kind::Text)
            texts << item.text;
    }
    return texts;
}

} // namespace

class TestMainWindow : public QObject, quilloa::test::MainWindowFixture
{
    Q_OBJECT

    QListView* archiveList() const { return m_window.find<QListView>(QStringLiteral("T1")); }
    quilloa::test::ListLines archiveLines() const
    {
        return quilloa::test::ListLines(archiveList());
    }
    // The command behind a button of the toolbar.
    QAction* toolbarButton(int position) const
    {
        return m_window.find<QToolButton>(QStringLiteral("Toolbar1_Button%1").arg(position))
            ->defaultAction();
    }
    void clickToolbar(int position) const
    {
        QTest::mouseClick(
            m_window.find<QToolButton>(QStringLiteral("Toolbar1_Button%1").arg(position)),
            Qt::LeftButton);
    }
    bool saveSwitchOn() const
    {
        const bool button = toolbarButton(2)->isEnabled();
        const bool item = m_window.find<QAction>(QStringLiteral("menuSave"))->isEnabled();
        if (button != item)
            qFatal("save switch out of step");
        return button;
    }
    bool sheetShown() const
    {
        for (const char* name : {"Picture2", "Label1", "Picture4", "Label4", "Label7", "Image1",
                                 "Picture6", "Label13"}) {
            if (m_window.find<QWidget>(QLatin1String(name))->isVisible() !=
                m_window->sheet()->isVisible())
                qFatal("%s out of step with the sheet", name);
        }
        return m_window->sheet()->isVisible();
    }
    void setClinic(const QString& name, const QString& doctor, const QString& dispenser)
    {
        SettingsRecord r = settings().settings().value();
        r.clinicName = name;
        r.doctor = doctor;
        r.dispenser = dispenser;
        QVERIFY(settings().setSettings(r).ok());
    }
    void fillSheet()
    {
        PrescriptionSheet* sheet = m_window->sheet();
        const QStringList texts = {"张三", "男", "45", "", "急性胃炎", "城东", "", "", "12"};
        for (int i = 0; i < texts.size(); ++i) {
            if (!texts.at(i).isEmpty())
                sheet->setFieldText(i, texts.at(i));
        }
        m_window->body()->setPlainText(
            QStringLiteral("阿莫西林胶囊 0.25g×24\n    用法：0.5 tid\n维C"));
    }

private slots:
    void init() { makeFolder(); }

    void cleanup() { dropWindowAndFolder(); }

    void openingFillsListsAndShowsNoSheet()
    {
        for (int i = 0; i < 25; ++i)
            test::setUp(settings().add(ReferenceList::Drugs, QStringLiteral("药%1").arg(i),
                                       QStringLiteral("y")));
        for (int i = 0; i < 150; ++i)
            test::setUp(archive().add(record(
                QStringLiteral("病人%1").arg(i),
                QStringLiteral("2009-03-01 08:00:%1").arg(i % 60, 2, 10, QLatin1Char('0')))));
        open();
        auto* drugs = m_window.find<QListWidget>(QStringLiteral("List1"));
        QCOMPARE(drugs->count(), 18);
        QCOMPARE(drugs->item(0)->text(), QStringLiteral("药0"));
        QCOMPARE(drugs->item(17)->text(), QStringLiteral("药17"));
        QCOMPARE(archiveLines().count(), 100);
        QCOMPARE(archiveLines().text(0), QStringLiteral("病人0[2009-03-01 08:00:00]"));
        QCOMPARE(archiveLines().text(99), QStringLiteral("病人99[2009-03-01 08:00:39]"));
        QVERIFY(!sheetShown());
        QVERIFY(!saveSwitchOn());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Quilloa V2.0"));
        QCOMPARE(m_window->centralWidget()->size(), QSize(1016, 686));
        QCOMPARE(
            m_window.find<QWidget>(QStringLiteral("Picture1"))->palette().color(QPalette::Window),
            QColor(0, 128, 128));
    }

    void panelsStandWhereTheirTablesSay()
    {
        open();
        const auto* drugs = m_window->findChild<DrugPanel*>();
        const auto* archive = m_window->findChild<ArchivePanel*>();
        QVERIFY(drugs && archive);
        const QStringList faults = test::LayoutCheck::all(drugs, drugpanel::kPlacements) +
                                   test::LayoutCheck::all(archive, archivepanel::kPlacements);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void openingStandsAboveCentre()
    {
        open();
        const QRect screen = m_window->screen()->geometry();
        // 400 twips (27 px) less room above than below.
        const int above = m_window->y() - screen.y();
        const int below = screen.bottom() + 1 - (m_window->y() + m_window->height());
        QVERIFY2(qAbs(below - above - 27) <= 1, qPrintable(QString::number(below - above)));
    }

    void toolbarAndMenusAreDescribed()
    {
        open();
        const QStringList captions = {"新建", "保存", "打印", "复制", "粘贴", "统计", "退出"};
        const QStringList tips = {"新建处方", "保存处方",   "打印处方", "复制处方",
                                  "粘贴处方", "工作量统计", "退出"};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(toolbarButton(i + 1)->text(), captions.at(i));
            QCOMPARE(toolbarButton(i + 1)->toolTip(), tips.at(i));
            QVERIFY(!toolbarButton(i + 1)->icon().isNull());
        }
        const QList<QPair<QString, QString>> shortcuts = {
            {"menuNew", "Ctrl+N"},       {"menuSave", "Ctrl+S"},       {"menuStatistics", "Ctrl+D"},
            {"menuClinicLog", "Ctrl+G"}, {"menuPrint", "Ctrl+P"},      {"menuExit", "Ctrl+E"},
            {"menuDrugs", "Ctrl+J"},     {"menuDiagnoses", "Ctrl+I"},  {"menuAddresses", "Ctrl+M"},
            {"menuGeneral", "Ctrl+W"},   {"menuOnlineHelp", "Ctrl+H"}, {"menuAbout", "Ctrl+Z"},
        };
        for (const auto& [name, keys] : shortcuts)
            QCOMPARE(m_window.find<QAction>(name)->shortcut(), QKeySequence(keys));
        QMenu* mu = m_window->archiveMenu();
        QCOMPARE(mu->objectName(), QStringLiteral("mu"));
        QCOMPARE(mu->actions().size(), 2);
        QCOMPARE(mu->actions().at(0)->text(), QStringLiteral("删除"));
        QCOMPARE(mu->actions().at(1)->text(), QStringLiteral("取消"));
    }

    // A text box's own Ctrl keys (end of line, delete, undo) give way to the menu's.
    void menuKeysWorkWhileATextBoxHasTheFocus()
    {
        open();
        clickToolbar(1);
        QSignalSpy exits(m_window.find<QAction>(QStringLiteral("menuExit")), &QAction::triggered);
        const QList<QWidget*> boxes{field(0), m_window->body(), m_window->drugPanel()->searchBox()};
        for (QWidget* box : boxes) {
            QVERIFY(quilloa::test::UserInput::focus(box));
            QTest::keyClick(box, Qt::Key_E, Qt::ControlModifier);
        }
        QCOMPARE(exits.size(), boxes.size());
        QSignalSpy statistics(m_window.find<QAction>(QStringLiteral("menuStatistics")),
                              &QAction::triggered);
        QTest::keyClick(field(2), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(statistics.size(), 1);
        // Keys no menu item has stay the box's.
        QTest::keyClicks(field(0), QStringLiteral("ab"));
        QTest::keyClick(field(0), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(field(0)->selectedText(), QStringLiteral("ab"));
    }

    void newPrescriptionPreparesTheSheet()
    {
        setClinic(QStringLiteral(" 城东卫生院 "), QStringLiteral("李医生"), QStringLiteral("王芳"));
        test::setUp(settings().add(ReferenceList::Diagnoses, QStringLiteral("急性胃炎"),
                                   QStringLiteral("jxwy")));
        open();
        m_window->body()->setPlainText(QStringLiteral("old"));
        m_window->findChild<QTextEdit*>(QStringLiteral("R2"))->setPlainText(QStringLiteral("old"));
        m_folder->clock()->set(QDateTime(QDate(2009, 5, 10), QTime(8, 3, 9)));
        clickToolbar(1);

        QCOMPARE(field(3)->text(), QStringLiteral("2009-05-10"));
        QCOMPARE(m_window->recordKey(), QStringLiteral("2009-05-10 08:03:09"));
        QCOMPARE(field(6)->text(), QStringLiteral("李医生"));
        QCOMPARE(field(7)->text(), QStringLiteral("王芳"));
        for (int i : {0, 1, 2, 4, 5, 8})
            QCOMPARE(field(i)->text(), QString());
        QCOMPARE(m_window->body()->toPlainText(), QString());
        QCOMPARE(m_window->findChild<QTextEdit*>(QStringLiteral("R2"))->toPlainText(), QString());
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label6_1"))->text(), QString());
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label6_2"))->text(),
                 QStringLiteral("2009-05-10"));
        QVERIFY(!m_window.find<QWidget>(QStringLiteral("list2"))->isVisible());
        QVERIFY(sheetShown());
        QVERIFY(saveSwitchOn());
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::NewSheet);
        QCOMPARE(QApplication::focusWidget(), field(0));

        QLabel* title = m_window.find<QLabel>(QStringLiteral("Label3_0"));
        QCOMPARE(title->text(), QStringLiteral("城东卫生院处方笺"));
        const int sheetWidth = m_window->sheet()->width();
        QVERIFY(qAbs(2 * title->x() + title->width() - sheetWidth) <= 1);
    }

    void saveStoresTheRecord_data()
    {
        QTest::addColumn<QString>("typedFee");
        QTest::addColumn<QString>("shownFee");
        QTest::addColumn<qint64>("storedUnits");
        QTest::newRow("full stop") << "30。5"
                                   << "30.5" << qint64(305000);
        QTest::newRow("unit after number") << "12元"
                                           << "12元" << qint64(120000);
        QTest::newRow("empty") << ""
                               << "" << qint64(0);
        QTest::newRow("no number") << "免费"
                                   << "免费" << qint64(0);
        // Typed in full-width mode: read as 12.5, shown and kept as typed.
        QTest::newRow("full-width digits") << "１２.５"
                                           << "１２.５" << qint64(125000);
        QTest::newRow("full-width digits and full stop") << "－１２。５"
                                                         << "－１２.５" << qint64(-125000);
    }

    void saveStoresTheRecord()
    {
        QFETCH(QString, typedFee);
        QFETCH(QString, shownFee);
        QFETCH(qint64, storedUnits);
        open();
        clickToolbar(1);
        fillSheet();
        m_window->sheet()->setFieldText(8, typedFee);
        QVERIFY(m_window->savePrescription());

        QCOMPARE(field(8)->text(), shownFee);
        const auto entries = archive().firstEntries(10);
        QCOMPARE(entries.value().size(), 1);
        const PrescriptionRecord stored =
            *archive().recordAt(entries.value().first().rowId).value();
        QCOMPARE(stored.key, QStringLiteral("2009-03-25 18:08:43"));
        QCOMPARE(stored.name, QStringLiteral("张三"));
        QCOMPARE(stored.sex, QStringLiteral("男"));
        QCOMPARE(stored.age, QStringLiteral("45"));
        QCOMPARE(stored.date, QStringLiteral("2009-03-25"));
        QCOMPARE(stored.diagnosis, QStringLiteral("急性胃炎"));
        QCOMPARE(stored.address, QStringLiteral("城东"));
        QVERIFY(stored.fee.has_value());
        QCOMPARE(stored.fee->units(), storedUnits);
        QVERIFY(stored.body.startsWith(QStringLiteral("{\\rtf1")));
        QCOMPARE(RtfReader::read(stored.body).plainText(),
                 QStringLiteral("阿莫西林胶囊 0.25g×24\r\n    用法：0.5 tid\r\n维C"));

        QCOMPARE(archiveLines().count(), 1);
        QCOMPARE(archiveLines().text(0), QStringLiteral("张三[2009-03-25 18:08:43]"));
        QVERIFY(!sheetShown());
        QVERIFY(!saveSwitchOn());
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::NoSheet);
        // The fields keep their texts while hidden, so copy still takes them.
        QCOMPARE(field(0)->text(), QStringLiteral("张三"));
    }

    void twoSheetsOfTheSameSecondAreBothStored()
    {
        open();
        for (int i = 0; i < 2; ++i) {
            clickToolbar(1);
            m_window->sheet()->setFieldText(0, QStringLiteral("病人%1").arg(i));
            clickToolbar(2);
        }
        QCOMPARE(archive().firstEntries(10).value().size(), 2);
        QCOMPARE(archiveLines().count(), 2);
    }

    void failingSaveKeepsTheSheet()
    {
        open();
        clickToolbar(1);
        fillSheet();
        m_window->sheet()->setFieldText(8, QStringLiteral("30。5"));
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().archiveFile));

        MessageBoxAnswer answer(QMessageBox::Ok);
        QVERIFY(!m_window->savePrescription());
        QVERIFY(answer.seen());
        QVERIFY(answer.text().startsWith(QStringLiteral("处方未能保存")));
        QVERIFY(sheetShown());
        QVERIFY(saveSwitchOn());
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::NewSheet);
        QCOMPARE(field(0)->text(), QStringLiteral("张三"));
        QCOMPARE(field(8)->text(), QStringLiteral("30.5"));
        QVERIFY(m_window->body()->toPlainText().startsWith(QStringLiteral("阿莫西林")));
    }

    void tooLongValueIsReportedNotLost()
    {
        open();
        clickToolbar(1);
        m_window->sheet()->setFieldText(0, QString(300, QChar(u'长')));
        MessageBoxAnswer answer(QMessageBox::Ok);
        QVERIFY(!m_window->savePrescription());
        QVERIFY(answer.seen());
        QVERIFY(sheetShown());
        QCOMPARE(archive().firstEntries(10).value().size(), 0);
    }

    void saveIsOffWhileViewing()
    {
        const qint64 row =
            archive()
                .add(record(QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00")))
                .value();
        open();
        m_window->showRecord({row, QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00")});
        QVERIFY(!saveSwitchOn());
        QVERIFY(!m_window->savePrescription());
        QCOMPARE(archive().firstEntries(10).value().size(), 1);
    }

    void deleteAsksThenRemovesExactlyTheSelectedRecord()
    {
        const QString key = QStringLiteral("2009-03-25 18:08:43");
        test::setUp(archive().add(record(QStringLiteral("甲"), key)));
        test::setUp(archive().add(record(QStringLiteral("乙"), key)));
        open();
        archiveLines().select(1);

        {
            MessageBoxAnswer answer(QMessageBox::Cancel);
            m_window->deletePrescription();
            QVERIFY(answer.seen());
            QCOMPARE(answer.title(), QStringLiteral("提示"));
            QCOMPARE(answer.text(), QStringLiteral("确实要永久删除该病人档案吗？"));
            QCOMPARE(answer.icon(), QMessageBox::Warning);
            QCOMPARE(answer.buttons(), QMessageBox::Ok | QMessageBox::Cancel);
        }
        QCOMPARE(archive().firstEntries(10).value().size(), 2);
        QCOMPARE(archiveLines().count(), 2);

        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            m_window->deletePrescription();
            QVERIFY(answer.seen());
        }
        const auto left = archive().firstEntries(10).value();
        QCOMPARE(left.size(), 1);
        QCOMPARE(left.first().name, QStringLiteral("甲"));
        QCOMPARE(archiveLines().count(), 1);
        QCOMPARE(archiveLines().text(0), QStringLiteral("甲[2009-03-25 18:08:43]"));
    }

    void deleteFromThePopupMenuLeavesTheSheet()
    {
        const qint64 row =
            archive()
                .add(record(QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00")))
                .value();
        open();
        m_window->showRecord({row, QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00")});
        archiveLines().select(0);
        MessageBoxAnswer answer(QMessageBox::Ok);
        m_window.find<QAction>(QStringLiteral("muDelete"))->trigger();
        QVERIFY(answer.seen());
        QCOMPARE(archiveLines().count(), 0);
        QVERIFY(sheetShown());
        QCOMPARE(field(0)->text(), QStringLiteral("甲"));
    }

    void deleteThatCannotReachTheStoreKeepsTheLine()
    {
        test::setUp(
            archive().add(record(QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00"))));
        open();
        archiveLines().select(0);
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().archiveFile));
        MessageBoxAnswer answers(QMessageBox::Ok, 2);
        m_window->deletePrescription();
        QCOMPARE(answers.texts().size(), 2);
        QVERIFY(answers.texts().at(1).startsWith(QStringLiteral("档案未能删除")));
        QCOMPARE(archiveLines().count(), 1);
    }

    void rightClickOpensThePopupOnlyOverEntries()
    {
        open();
        QMenu* mu = m_window->archiveMenu();
        QTest::mouseClick(archiveList()->viewport(), Qt::RightButton);
        QVERIFY(!mu->isVisible());
        test::setUp(
            archive().add(record(QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00"))));
        m_window->archivePanel()->rebuild();
        QTest::mouseClick(archiveList()->viewport(), Qt::RightButton);
        QVERIFY(mu->isVisible());
        mu->close();
    }

    void showRecordFillsTheSheetForViewing()
    {
        PrescriptionRecord r =
            record(QStringLiteral("李四"), QStringLiteral("2009-03-02 09:10:11"));
        r.sex = QStringLiteral("女");
        r.age = QStringLiteral("30");
        r.diagnosis = QStringLiteral("急性胃炎");
        r.address = QStringLiteral("城东");
        r.doctor = QStringLiteral("李医生");
        r.dispenser = QStringLiteral("王芳");
        r.fee = Money::fromLeadingNumber(QStringLiteral("12.5"));
        r.body = QStringLiteral(
            "{\\rtf1\\ansi{\\fonttbl{\\f0 SimSun;}}\\f0 line one\\par line two\\par}");
        const qint64 row = archive().add(r).value();
        setClinic(QStringLiteral("城东卫生院"), QStringLiteral("x"), QStringLiteral("y"));
        open();
        m_window->showRecord({row, r.name, r.key});

        const QStringList expected = {"李四", "女",     "30",   "2009-03-02", "急性胃炎",
                                      "城东", "李医生", "王芳", "12.5"};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(field(i)->text(), expected.at(i));
        QCOMPARE(m_window->recordKey(), r.key);
        QCOMPARE(m_window->body()->toPlainText(), QStringLiteral("line one\nline two"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label6_1"))->text(),
                 QStringLiteral("李四\uFF0C女\uFF0C30"));
        QVERIFY(!m_window.find<QWidget>(QStringLiteral("list2"))->isVisible());
        QVERIFY(!m_window.find<QWidget>(QStringLiteral("list5"))->isVisible());
        QVERIFY(sheetShown());
        QVERIFY(!saveSwitchOn());
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::Viewing);
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label3_0"))->text(),
                 QStringLiteral("城东卫生院处方笺"));
    }

    // A record that cannot be read must never leave another patient under its entry, on
    // screen or on paper; a sheet being typed is kept.
    void unreadableRecordLeavesNoOtherPatientShown()
    {
        const qint64 first =
            archive()
                .add(record(QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00")))
                .value();
        test::setUp(
            archive().add(record(QStringLiteral("乙"), QStringLiteral("2009-03-02 08:00:00"))));
        open();
        auto kept = std::make_shared<QList<PageItem>>();
        m_window->setPrinterFactory(
            [kept] { return std::make_unique<KeptRecorder>(kept, QString()); });
        m_window->showRecord({first, QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00")});
        QCOMPARE(field(0)->text(), QStringLiteral("甲"));

        {
            DamagedStore damaged(m_folder->paths().archiveFile);
            MessageBoxAnswer answer(QMessageBox::Ok);
            QTest::mouseClick(
                archiveList()->viewport(), Qt::LeftButton, {},
                archiveList()->visualRect(archiveList()->model()->index(1, 0)).center());
            QVERIFY(answer.seen());
            QVERIFY(answer.text().contains(QStringLiteral("已损坏")));
        }
        QVERIFY(!sheetShown());
        QCOMPARE(field(0)->text(), QString());
        QVERIFY(archiveList()->selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::NoSheet);
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            clickToolbar(3);
            QVERIFY(answer.text().contains(QStringLiteral("没有可打印的处方")));
        }
        QVERIFY(printedTexts(*kept).isEmpty());

        // The same for a record deleted meanwhile; a new sheet being typed stays.
        clickToolbar(1);
        m_window->sheet()->setFieldText(0, QStringLiteral("丙"));
        MessageBoxAnswer answer(QMessageBox::Ok);
        m_window->showRecord(
            {first + 100, QStringLiteral("甲"), QStringLiteral("2009-03-01 08:00:00")});
        QVERIFY(answer.seen());
        QVERIFY(sheetShown());
        QCOMPARE(field(0)->text(), QStringLiteral("丙"));
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::NewSheet);
    }

    // Store text is shown as text: a clinic name or patient field holding markup stays as
    // typed.
    void storeTextIsNeverMarkup()
    {
        setClinic(QStringLiteral("<b>城东</b>"), QStringLiteral("x"), QStringLiteral("y"));
        const qint64 row =
            archive()
                .add(record(QStringLiteral("<i>李</i>"), QStringLiteral("2009-03-01 08:00:00")))
                .value();
        open();
        m_window->showRecord(
            {row, QStringLiteral("<i>李</i>"), QStringLiteral("2009-03-01 08:00:00")});
        auto* title = m_window.find<QLabel>(QStringLiteral("Label3_0"));
        QCOMPARE(title->textFormat(), Qt::PlainText);
        QCOMPARE(title->text(), QStringLiteral("<b>城东</b>处方笺"));
        auto* patient = m_window.find<QLabel>(QStringLiteral("Label6_1"));
        QCOMPARE(patient->textFormat(), Qt::PlainText);
        QVERIFY(patient->text().startsWith(QStringLiteral("<i>李</i>")));
    }

    // Settings that cannot be read when a sheet is started are told, and read again next time
    // instead of leaving blanks for the rest of the run.
    void unreadableSettingsAreToldAndReadAgain()
    {
        setClinic(QStringLiteral("城东卫生院"), QStringLiteral("李医生"), QStringLiteral("王芳"));
        open();
        {
            DamagedStore damaged(m_folder->paths().settingsFile);
            MessageBoxAnswer answer(QMessageBox::Ok);
            clickToolbar(1);
            QVERIFY(answer.text().contains(QStringLiteral("设置无法读取")));
            QCOMPARE(field(6)->text(), QString());
        }
        clickToolbar(1);
        QCOMPARE(field(6)->text(), QStringLiteral("李医生"));
        QCOMPARE(field(7)->text(), QStringLiteral("王芳"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label3_0"))->text(),
                 QStringLiteral("城东卫生院处方笺"));
    }

    void showRecordReachesTheRowOfTheEntry()
    {
        const QString key = QStringLiteral("2009-03-25 18:08:43");
        test::setUp(archive().add(record(QStringLiteral("甲"), key)));
        const qint64 second = archive().add(record(QStringLiteral("乙"), key)).value();
        open();
        m_window->showRecord({second, QStringLiteral("乙"), key});
        QCOMPARE(field(0)->text(), QStringLiteral("乙"));
    }

    void copyAndPasteCarryAPrescription()
    {
        setClinic(QStringLiteral("城东卫生院"), QStringLiteral("李医生"), QStringLiteral("王芳"));
        // Names the pasted fields would find again.
        QVERIFY(settings()
                    .add(ReferenceList::Diagnoses, QStringLiteral("急性胃炎"),
                         QStringLiteral("急性胃炎"))
                    .ok());
        QVERIFY(settings()
                    .add(ReferenceList::Addresses, QStringLiteral("城东"), QStringLiteral("城东"))
                    .ok());
        open();
        clickToolbar(1);
        fillSheet();
        clickToolbar(4);
        m_folder->clock()->set(QDateTime(QDate(2009, 4, 1), QTime(9, 0, 0)));
        clickToolbar(1);
        clickToolbar(5);
        const QStringList expected = {"张三", "男",     "45",   "2009-04-01", "急性胃炎",
                                      "城东", "李医生", "王芳", "12"};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(field(i)->text(), expected.at(i));
        QCOMPARE(m_window->recordKey(), QStringLiteral("2009-04-01 09:00:00"));
        QCOMPARE(m_window->body()->toPlainText(),
                 QStringLiteral("阿莫西林胶囊 0.25g×24\n    用法：0.5 tid\n维C"));
        QCOMPARE(m_window->body()->textCursor().position(),
                 m_window->body()->document()->characterCount() - 1);
        QCOMPARE(QApplication::focusWidget(), m_window->body());
        QVERIFY(!m_window.find<QWidget>(QStringLiteral("list2"))->isVisible());
        QVERIFY(!m_window.find<QWidget>(QStringLiteral("list5"))->isVisible());
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label6_1"))->text(),
                 QStringLiteral("张三\uFF0C男\uFF0C45"));
        QVERIFY(saveSwitchOn());
    }

    void pasteBeforeCopyEmptiesAllButTheDate()
    {
        open();
        clickToolbar(1);
        fillSheet();
        clickToolbar(5);
        for (int i : {0, 1, 2, 4, 5, 6, 7, 8})
            QCOMPARE(field(i)->text(), QString());
        QCOMPARE(field(3)->text(), QStringLiteral("2009-03-25"));
        QCOMPARE(m_window->body()->toPlainText(), QString());
    }

    void windowsAreSingleAndDiscardedOnClose()
    {
        open();
        m_window.find<QAction>(QStringLiteral("menuGeneral"))->trigger();
        m_window.find<QAction>(QStringLiteral("menuGeneral"))->trigger();
        QCOMPARE(m_window->findChildren<QWidget*>(QStringLiteral("Form5")).size(), 1);
        for (const char* item : {"menuAbout", "menuStatistics", "menuDrugs"}) {
            m_window.find<QAction>(QLatin1String(item))->trigger();
            m_window.find<QAction>(QLatin1String(item))->trigger();
        }
        QCOMPARE(m_window->findChildren<QWidget*>(QStringLiteral("Form8")).size(), 1);
        QWidget* about = m_window->findChild<QWidget*>(QStringLiteral("Form8"));
        QVERIFY(about->isVisible());
        about->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_window->findChildren<QWidget*>(QStringLiteral("Form8")).size(), 0);
        m_window.find<QAction>(QStringLiteral("menuAbout"))->trigger();
        QCOMPARE(m_window->findChildren<QWidget*>(QStringLiteral("Form8")).size(), 1);
    }

    void exitEndsTheProgramWithoutAQuestion()
    {
        open();
        clickToolbar(1);
        fillSheet();
        QTimer::singleShot(0, this, [this] { clickToolbar(7); });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        bool timedOut = false;
        connect(&failsafe, &QTimer::timeout, [&] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        failsafe.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!timedOut);
        QCOMPARE(archive().firstEntries(10).value().size(), 0);
    }

    void printSendsTheSheetAsItStands()
    {
        setClinic(QStringLiteral("城东卫生院"), QStringLiteral("李医生"), QStringLiteral("王芳"));
        open();
        auto kept = std::make_shared<QList<PageItem>>();
        m_window->setPrinterFactory(
            [kept] { return std::make_unique<KeptRecorder>(kept, QString()); });
        clickToolbar(1);
        fillSheet();
        clickToolbar(3);
        const QStringList texts = printedTexts(*kept);
        QVERIFY(texts.contains(QStringLiteral("城东卫生院处方笺")));
        QVERIFY(texts.contains(QStringLiteral("张三")));
        QVERIFY(texts.contains(QStringLiteral("    用法：0.5 tid")));

        QTest::mouseClick(m_window.find<QLabel>(QStringLiteral("Label7")), Qt::LeftButton);
        const QStringList card = printedTexts(*kept);
        QVERIFY(card.contains(QStringLiteral("门诊注射卡")));
        QVERIFY(card.contains(QStringLiteral("张三\uFF0C男\uFF0C45")));
        QVERIFY(!card.contains(QStringLiteral("    用法：0.5 tid")));
    }

    // A body longer than one sheet prints only once the doctor agrees to a second sheet.
    void longBodyAsksBeforeASecondSheet()
    {
        open();
        auto kept = std::make_shared<QList<PageItem>>();
        m_window->setPrinterFactory(
            [kept] { return std::make_unique<KeptRecorder>(kept, QString()); });
        clickToolbar(1);
        fillSheet();
        QString lines;
        for (int i = 1; i <= 24; ++i)
            lines += QStringLiteral("第%1行\n").arg(i);
        m_window.find<QTextEdit>(QStringLiteral("R1"))->setPlainText(lines);
        {
            MessageBoxAnswer no(QMessageBox::No);
            clickToolbar(3);
            QVERIFY(no.seen());
            QVERIFY2(no.text().contains(QStringLiteral("还有 4 行")), qPrintable(no.text()));
            QVERIFY(kept->isEmpty());
        }
        MessageBoxAnswer yes(QMessageBox::Yes);
        clickToolbar(3);
        QVERIFY(yes.seen());
        QVERIFY(printedTexts(*kept).contains(QStringLiteral("第24行")));
        QCOMPARE(printedTexts(*kept).count(QStringLiteral("张三")), 2);
    }

    void refusedPrintJobIsTold()
    {
        open();
        auto kept = std::make_shared<QList<PageItem>>();
        m_window->setPrinterFactory(
            [kept] { return std::make_unique<KeptRecorder>(kept, QStringLiteral("没有打印机")); });
        MessageBoxAnswer answer(QMessageBox::Ok);
        m_window.find<QAction>(QStringLiteral("menuPrint"))->trigger();
        QVERIFY(answer.seen());
        QVERIFY(answer.text().contains(QStringLiteral("没有打印机")));
    }

    // Unread margins would misplace every item on pre-printed paper: tell, print nothing, and
    // print once the settings can be read again.
    void unreadableMarginsPrintNothing()
    {
        open();
        auto kept = std::make_shared<QList<PageItem>>();
        m_window->setPrinterFactory(
            [kept] { return std::make_unique<KeptRecorder>(kept, QString()); });
        clickToolbar(1);
        fillSheet();
        {
            quilloa::test::LockedStore locked(m_folder->paths().settingsFile);
            QVERIFY(locked.isLocked());
            for (const QString& name :
                 {QStringLiteral("menuPrint"), QStringLiteral("menuAlignmentPage")}) {
                MessageBoxAnswer answer(QMessageBox::Ok);
                m_window.find<QAction>(name)->trigger();
                QVERIFY2(answer.seen(), qPrintable(name));
                QVERIFY(answer.text().contains(QStringLiteral("打印边距无法读取")));
            }
            MessageBoxAnswer answer(QMessageBox::Ok);
            QTest::mouseClick(m_window.find<QLabel>(QStringLiteral("Label7")), Qt::LeftButton);
            QVERIFY(answer.seen());
            QVERIFY(kept->isEmpty());
        }
        clickToolbar(3);
        QVERIFY(printedTexts(*kept).contains(QStringLiteral("张三")));
    }

    void newSheetTakesTheSettingsAsTyped()
    {
        setClinic(QStringLiteral("城东卫生院"), QStringLiteral("李医生"), QStringLiteral("王芳"));
        open();
        m_window.find<QAction>(QStringLiteral("menuGeneral"))->trigger();
        auto* doctorBox = m_window->findChild<QWidget*>(QStringLiteral("Form5"))
                              ->findChild<QLineEdit*>(QStringLiteral("Text2"));
        doctorBox->setText(QStringLiteral("赵医生"));
        clickToolbar(1);
        QCOMPARE(field(6)->text(), QStringLiteral("赵医生"));
        QCOMPARE(settings().settings().value().doctor, QStringLiteral("李医生"));
    }

    void helpManualIsWrittenForTheBrowser()
    {
        QTemporaryDir dir;
        const QString path = OnlineHelp::writeManual(dir.filePath(QStringLiteral("help")));
        QVERIFY(!path.isEmpty());
        QFile manual(path);
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(manual.readAll());
        QVERIFY(html.contains(QStringLiteral("使用说明")));
        QVERIFY(html.contains(QStringLiteral("新建")));

        // Never a fixed folder in the shared temporary folder, where another user could have
        // put a page of their own first.
        const QString folder = OnlineHelp::manualFolder();
        QVERIFY(!folder.isEmpty());
        QVERIFY(folder != QDir::temp().filePath(QStringLiteral("quilloa-help")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
