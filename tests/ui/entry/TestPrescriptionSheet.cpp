#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "support/ListLines.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "ui/entry/InjectionCard.h"
#include "ui/entry/LookupList.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/support/UserInput.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

#include <memory>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

class TestPrescriptionSheet : public QObject, quilloa::test::MainWindowFixture
{
    Q_OBJECT

    LookupList* list(const char* name) const
    {
        return m_window.find<LookupList>(QLatin1String(name));
    }
    QString cardLine() const { return m_window.find<QLabel>(QStringLiteral("Label6_1"))->text(); }

    void openWithNewSheet()
    {
        QVERIFY(m_window.open(m_folder->context()));
        m_window->newPrescription();
    }

    void addReferences()
    {
        SettingsStore store = m_folder->context().settings();
        test::setUp(store.add(ReferenceList::Diagnoses, QStringLiteral("上呼吸道感染"),
                              QStringLiteral("shxdgr")));
        test::setUp(store.add(ReferenceList::Diagnoses, QStringLiteral("急性胃炎"),
                              QStringLiteral("jxwy")));
        test::setUp(store.add(ReferenceList::Diagnoses, QStringLiteral("急性支气管炎"),
                              QStringLiteral("jxzqgy")));
        test::setUp(
            store.add(ReferenceList::Addresses, QStringLiteral("城东"), QStringLiteral("cd")));
        test::setUp(
            store.add(ReferenceList::Addresses, QStringLiteral("东湖"), QStringLiteral("dh")));
    }

private slots:
    void init()
    {
        makeFolder();
        addReferences();
        openWithNewSheet();
    }

    void cleanup() { dropWindowAndFolder(); }

    // A clinic name of the full 50 characters is set smaller rather than cut off, and every
    // caption sits in a box of its described size, one em high, so no glyph reaches the rule
    // under it.
    void titleAndCaptionsKeepInsideTheSheet()
    {
        PrescriptionSheet* sheet = m_window->sheet();
        QLabel* title = m_window.find<QLabel>(QStringLiteral("Label3_0"));
        sheet->setTitle(QString(50, QChar(u'医')));
        QCOMPARE(title->text().size(), 53);
        QVERIFY(title->x() >= 0);
        QVERIFY2(title->geometry().right() < sheet->width(),
                 qPrintable(QString::number(title->geometry().right())));
        QVERIFY(title->font().pointSizeF() < 15.75);

        sheet->setTitle(QStringLiteral("城东卫生院"));
        QCOMPARE(title->font().pointSizeF(), 15.75);
        QCOMPARE(title->size(), QSize(8 * 21, 21)); // eight ems of 21 px at 15.75 pt

        // "姓名：" at 黑体 10.5 pt: three ems of 14 px; the rule under it lies at 840 / 15 px.
        QLabel* name = m_window.find<QLabel>(QStringLiteral("Label3_2"));
        QCOMPARE(name->size(), QSize(42, 14));
        QVERIFY(m_window.find<QLabel>(QStringLiteral("Label6_1"))->geometry().bottom() < 900 / 15);
    }

    void sexCodesBecomeWords_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1 is male") << "1"
                                   << "男";
        QTest::newRow("2 is female") << "2"
                                     << "女";
        QTest::newRow("anything else stays") << "3"
                                             << "3";
    }

    void sexCodesBecomeWords()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLineEdit* sex = field(sheet::SexField);
        QVERIFY(UserInput::focus(sex, Qt::TabFocusReason));
        QTest::keyClicks(sex, typed);
        QCOMPARE(sex->text(), shown);
        QCOMPARE(sex->cursorPosition(), 1);
    }

    void clickOnSexToggles()
    {
        QLineEdit* sex = field(sheet::SexField);
        QTest::mouseClick(sex, Qt::LeftButton);
        QCOMPARE(sex->text(), QStringLiteral("男"));
        QTest::mouseClick(sex, Qt::LeftButton);
        QCOMPARE(sex->text(), QStringLiteral("女"));
        QTest::mouseClick(sex, Qt::LeftButton);
        QCOMPARE(sex->text(), QStringLiteral("男"));
        // A click elsewhere on the sheet changes no field.
        QTest::mouseClick(field(sheet::NameField), Qt::LeftButton);
        QCOMPARE(field(sheet::NameField)->text(), QString());
    }

    void cardFollowsNameSexAgeAndDate()
    {
        QVERIFY(UserInput::focus(field(sheet::NameField), Qt::TabFocusReason));
        UserInput::commit(field(sheet::NameField), QStringLiteral("张三"));
        QVERIFY(UserInput::focus(field(sheet::SexField), Qt::TabFocusReason));
        QTest::keyClicks(field(sheet::SexField), QStringLiteral("1"));
        QVERIFY(UserInput::focus(field(sheet::AgeField), Qt::TabFocusReason));
        QTest::keyClicks(field(sheet::AgeField), QStringLiteral("45"));
        QCOMPARE(cardLine(), QStringLiteral("张三\uFF0C男\uFF0C45"));

        for (int i : {sheet::NameField, sheet::SexField, sheet::AgeField})
            field(i)->clear();
        QCOMPARE(cardLine(), QStringLiteral("\uFF0C\uFF0C"));

        field(sheet::VisitDateField)->setText(QStringLiteral("2009-05-10"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label6_2"))->text(),
                 QStringLiteral("2009-05-10"));
    }

    void typingStopsAtEachLimit_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("limit");
        const int limits[] = {4, 1, 4, 10, 8, 18, 4, 4, 6};
        for (int i = 0; i < 9; ++i)
            QTest::addRow("Text4_%d", i) << i << limits[i];
    }

    void typingStopsAtEachLimit()
    {
        QFETCH(int, index);
        QFETCH(int, limit);
        QLineEdit* typed = field(index);
        typed->clear();
        QVERIFY(UserInput::focus(typed, Qt::TabFocusReason));
        QTest::keyClicks(typed, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        QCOMPARE(typed->text().size(), qsizetype(limit));
        if (index != sheet::SexField)
            QCOMPARE(typed->text(), QStringLiteral("abcdefghijklmnopqrstuvwxyz").left(limit));
    }

    void committedPhraseIsCutToTheRoomLeft()
    {
        QLineEdit* name = field(sheet::NameField);
        QVERIFY(UserInput::focus(name, Qt::TabFocusReason));
        UserInput::commit(name, QStringLiteral("欧阳"));
        UserInput::commit(name, QStringLiteral("娜娜娜"));
        QCOMPARE(name->text(), QStringLiteral("欧阳娜娜"));
    }

    void pasteIsCutToTheRoomLeft()
    {
        QLineEdit* age = field(sheet::AgeField);
        QVERIFY(UserInput::focus(age, Qt::TabFocusReason));
        QTest::keyClicks(age, QStringLiteral("4"));
        QGuiApplication::clipboard()->setText(QStringLiteral("56789\nnext line"));
        QTest::keySequence(age, QKeySequence::Paste);
        QCOMPARE(age->text(), QStringLiteral("4567"));
    }

    void programTextIsTakenWholeAndCanBeShortened()
    {
        PrescriptionSheet* sheet = m_window->sheet();
        const QString longName = QStringLiteral("慢性阻塞性肺疾病急性加重");
        sheet->setFieldText(sheet::DiagnosisField, longName);
        QCOMPARE(sheet->fieldText(sheet::DiagnosisField), longName);
        QLineEdit* diagnosis = field(sheet::DiagnosisField);
        QVERIFY(UserInput::focus(diagnosis, Qt::TabFocusReason));
        diagnosis->end(false);
        QTest::keyClick(diagnosis, Qt::Key_A);
        QCOMPARE(diagnosis->text(), longName);
        QTest::keyClick(diagnosis, Qt::Key_Backspace);
        QCOMPARE(diagnosis->text(), longName.chopped(1));
    }

    void diagnosisListsByCodePrefix()
    {
        LookupList* diagnoses = list("list2");
        QLineEdit* diagnosis = field(sheet::DiagnosisField);
        QVERIFY(UserInput::focus(diagnosis, Qt::TabFocusReason));
        QVERIFY(diagnoses->isVisible());
        QCOMPARE(diagnoses->count(), 3);
        QTest::keyClicks(diagnosis, QStringLiteral("j"));
        QCOMPARE(diagnoses->count(), 2);
        QCOMPARE(quilloa::test::ListLines(diagnoses).text(0), QStringLiteral("急性胃炎"));
        QVERIFY(diagnoses->isVisible());
        // "x" occurs inside codes, but the diagnosis lookup wants the start.
        diagnosis->clear();
        QTest::keyClicks(diagnosis, QStringLiteral("x"));
        QCOMPARE(diagnoses->count(), 0);
        QVERIFY(!diagnoses->isVisible());
        QVERIFY(!list("list5")->isVisible());
    }

    void addressContainsWhileTypingButStartsWithOnFocus()
    {
        LookupList* addresses = list("list5");
        QLineEdit* address = field(sheet::AddressField);
        QVERIFY(UserInput::focus(address, Qt::TabFocusReason));
        QCOMPARE(addresses->count(), 2);
        QTest::keyClicks(address, QStringLiteral("d"));
        QCOMPARE(addresses->count(), 2); // cd and dh both contain d
        QCOMPARE(quilloa::test::ListLines(addresses).text(0), QStringLiteral("城东"));
        QVERIFY(UserInput::focus(field(sheet::NameField), Qt::TabFocusReason));
        QVERIFY(!addresses->isVisible());
        QVERIFY(UserInput::focus(address, Qt::TabFocusReason));
        QCOMPARE(addresses->count(), 1); // only dh starts with d
        QCOMPARE(quilloa::test::ListLines(addresses).text(0), QStringLiteral("东湖"));
        QVERIFY(!list("list2")->isVisible());
    }

    // Showing a record looks nothing up; what is typed next is, and Down reaches its list.
    void listsFollowTheFieldAfterAStoredRecord()
    {
        PrescriptionRecord r;
        r.key = QStringLiteral("2009-03-02 09:10:11");
        r.diagnosis = QStringLiteral("急性胃炎");
        QLineEdit* diagnosis = field(sheet::DiagnosisField);
        QVERIFY(UserInput::focus(diagnosis, Qt::TabFocusReason));
        m_window->showRecord({archive().add(r).value(), r.name, r.key});
        diagnosis->selectAll();
        QTest::keyClicks(diagnosis, QStringLiteral("jx"));
        QCOMPARE(quilloa::test::ListLines(list("list2")).texts(),
                 QStringList({"急性胃炎", "急性支气管炎"}));
        QTest::keyClick(diagnosis, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), list("list2"));
    }

    void downThenEnterPicksFromTheList()
    {
        QLineEdit* diagnosis = field(sheet::DiagnosisField);
        LookupList* diagnoses = list("list2");
        QVERIFY(UserInput::focus(diagnosis, Qt::TabFocusReason));
        QTest::keyClicks(diagnosis, QStringLiteral("jx"));
        QTest::keyClick(diagnosis, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), diagnoses);
        QTest::keyClick(diagnoses, Qt::Key_Down);
        QTest::keyClick(diagnoses, Qt::Key_Return);
        QCOMPARE(diagnosis->text(), QStringLiteral("急性支气管炎"));
        QCOMPARE(diagnosis->cursorPosition(), diagnosis->text().size());
        QCOMPARE(QApplication::focusWidget(), diagnosis);
        QVERIFY(!diagnoses->isVisible());
    }

    void clickPicksTheWholeName()
    {
        LookupList* addresses = list("list5");
        QLineEdit* address = field(sheet::AddressField);
        test::setUp(SettingsStore(m_folder->paths().settingsFile)
                        .add(ReferenceList::Addresses,
                             QStringLiteral("城关镇东大街幸福小区二十三号楼三单元"),
                             QStringLiteral("cgzddjxfxq")));
        QVERIFY(UserInput::focus(address, Qt::TabFocusReason));
        QTest::keyClicks(address, QStringLiteral("cg"));
        QCOMPARE(addresses->count(), 1);
        const QRect first = addresses->visualRect(addresses->model()->index(0, 0));
        QTest::mouseClick(addresses->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(address->text(), QStringLiteral("城关镇东大街幸福小区二十三号楼三单元"));
        QVERIFY(!addresses->isVisible());
        QCOMPARE(QApplication::focusWidget(), address);
    }

    void downElsewhereDoesNothing()
    {
        QLineEdit* name = field(sheet::NameField);
        QVERIFY(UserInput::focus(name, Qt::TabFocusReason));
        QTest::keyClicks(name, QStringLiteral("ab"));
        name->setCursorPosition(1);
        QTest::keyClick(name, Qt::Key_Down);
        QCOMPARE(name->text(), QStringLiteral("ab"));
        QCOMPARE(name->cursorPosition(), 1);
        QCOMPARE(QApplication::focusWidget(), name);
    }

    // Enter follows the way a sheet is filled in, on to the drug search box after the address;
    // Tab walks the sheet as printed, fields 0 to 8 and the body, then the card and the panels.
    void enterAndTabFollowTheirOrders()
    {
        const auto walk = [](Qt::Key key, const QStringList& order) {
            for (qsizetype i = 1; i < order.size(); ++i) {
                QWidget* from = QApplication::focusWidget();
                QTest::keyClick(from, key);
                QCOMPARE(QApplication::focusWidget()->objectName(), order.at(i));
                if (auto* edit = qobject_cast<QLineEdit*>(from))
                    QVERIFY(!edit->text().contains(QLatin1Char('\n')));
            }
        };
        QVERIFY(UserInput::focus(field(sheet::NameField), Qt::TabFocusReason));
        walk(Qt::Key_Return, {"Text4_0", "Text4_1", "Text4_2", "Text4_4", "Text4_5", "Text1"});
        QVERIFY(UserInput::focus(field(sheet::VisitDateField), Qt::TabFocusReason));
        walk(Qt::Key_Return, {"Text4_3", "Text4_6", "Text4_7", "R1"});
        QVERIFY(UserInput::focus(field(sheet::NameField), Qt::TabFocusReason));
        walk(Qt::Key_Tab, {"Text4_0", "Text4_1", "Text4_2", "Text4_3", "Text4_4", "Text4_5",
                           "Text4_6", "Text4_7", "Text4_8", "R1", "R2", "Text1", "List1", "Text2",
                           "Text3", "Command2", "T1", "Text4_0"});
    }

    void clickOnDeskSheetOrBodyHidesLists()
    {
        LookupList* diagnoses = list("list2");
        QWidget* targets[] = {m_window->desk(), m_window->sheet(), m_window->body()->viewport()};
        for (QWidget* target : targets) {
            QVERIFY(UserInput::focus(field(sheet::NameField), Qt::TabFocusReason));
            QVERIFY(UserInput::focus(field(sheet::DiagnosisField), Qt::TabFocusReason));
            QVERIFY(diagnoses->isVisible());
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(2, 2));
            QVERIFY2(!diagnoses->isVisible(), qPrintable(target->objectName()));
        }
    }

    void lookupWithoutStoreLeavesListHidden()
    {
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().settingsFile));
        QLineEdit* diagnosis = field(sheet::DiagnosisField);
        QVERIFY(UserInput::focus(diagnosis, Qt::TabFocusReason));
        QTest::keyClicks(diagnosis, QStringLiteral("j'"));
        QCOMPARE(diagnosis->text(), QStringLiteral("j'"));
        QVERIFY(!list("list2")->isVisible());
    }

    void quoteInCodeIsJustACharacter()
    {
        QLineEdit* address = field(sheet::AddressField);
        QVERIFY(UserInput::focus(address, Qt::TabFocusReason));
        QTest::keyClicks(address, QStringLiteral("'"));
        QCOMPARE(list("list5")->count(), 0);
        QCOMPARE(address->text(), QStringLiteral("'"));
    }
};

QTEST_MAIN(TestPrescriptionSheet)
#include "TestPrescriptionSheet.moc"
