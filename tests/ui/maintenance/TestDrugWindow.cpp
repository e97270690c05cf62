#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/sql/BoundQuery.h"
#include "support/SetUp.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"
#include "ui/common/ChineseFaces.h"
#include "ui/common/Twips.h"
#include "ui/maintenance/DrugWindow.h"
#include "ui/maintenance/DrugWindowLayout.h"
#include "ui/support/LayoutCheck.h"
#include "ui/support/MessageBoxAnswer.h"
#include "ui/support/UserInput.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <memory>

using namespace quilloa;
using quilloa::test::LayoutCheck;
using quilloa::test::LockedStore;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

class TestDrugWindow : public QObject, quilloa::test::ListWindowFixture<DrugWindow>
{
    Q_OBJECT

    qint64 addDrug(const QString& name, const QString& code)
    {
        return settings().add(ReferenceList::Drugs, name, code).valueOr(-1);
    }

    // Entries from before codes were always stored.
    void addDrugWithoutCode(const QString& name)
    {
        QVERIFY(BoundQuery::run(
                    settings().file(),
                    QStringLiteral("INSERT INTO [药品] ([名称], [拼音]) VALUES (?, NULL)"), {name})
                    .ok());
    }

    QList<ReferenceEntry> stored() const { return settings().all(ReferenceList::Drugs).value(); }

    void open() { QVERIFY(m_window.open(m_folder->context())); }

    QLineEdit* usageBox() const { return m_window.find<QLineEdit>(QStringLiteral("Text4")); }
    QPushButton* addButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("Command1"));
    }
    QPushButton* saveButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("Command2"));
    }
    QPushButton* deleteButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("Command3"));
    }
    QLabel* key(int index) const
    {
        return m_window.find<QLabel>(QStringLiteral("Label5_%1").arg(index));
    }

    QStringList boxes() const { return {nameBox()->text(), usageBox()->text(), codeBox()->text()}; }

private slots:
    void init() { makeFolder(); }
    void cleanup() { dropWindowAndFolder(); }

    void controlsStandWhereTheTableSays()
    {
        open();
        QCOMPARE(m_window->objectName(), QStringLiteral("Form2"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("药品维护"));
        QCOMPARE(m_window->size(), QSize(twipsToPixels(drugwindow::kClientWidth),
                                         twipsToPixels(drugwindow::kClientHeight)));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        const QStringList faults =
            LayoutCheck::all(m_window.get(), LayoutCheck::join(drugwindow::kPlacements,
                                                               drugwindow::kExchangePlacements));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QCOMPARE(m_window.find<QGroupBox>(QStringLiteral("Frame1"))->title(),
                 QStringLiteral("添加药品"));
        QCOMPARE(nameBox()->parentWidget()->objectName(), QStringLiteral("Frame1"));
        QCOMPARE(addButton()->text(), QStringLiteral("添  加"));
        QCOMPARE(saveButton()->text(), QStringLiteral("保  存"));
        QCOMPARE(deleteButton()->text(), QStringLiteral("删  除"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("药品名称："));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("用法用量："));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("拼音代码："));
        QCOMPARE(key(1)->text(), QStringLiteral("拼音查询："));

        const QLabel* help = m_window.find<QLabel>(QStringLiteral("Label4"));
        QCOMPARE(help->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QTextDocument shown;
        shown.setHtml(help->text());
        const QStringList lines = shown.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines.at(0), QStringLiteral("1、静脉药品仅填写名称，不需填写用法用量。"));
        QCOMPARE(lines.at(1).trimmed(), QString());
        QCOMPARE(lines.at(6), QStringLiteral("如：药品名称：阿莫西林片 0.25×24"));
        QCOMPARE(lines.at(8), QStringLiteral("     用法用量：0.5 tid"));
        // All nine lines fit the label.
        shown.setDefaultFont(help->font());
        shown.setDocumentMargin(0);
        QVERIFY(shown.size().height() <= help->height());
        // Drawn in the face chosen for 宋体 among the installed fonts, whichever other Chinese
        // fonts fontconfig would offer for Han text.
        QCOMPARE(QFontInfo(help->font()).family(), ChineseFaces::familiesFor(u"宋体").constFirst());

        const QWidget* keypad = m_window.find<QWidget>(QStringLiteral("Picture3"));
        const QList<std::pair<int, QString>> keys = {
            {0, "mg"},  {2, "ml"},  {17, "×"},  {9, "#"},    {13, "tid"}, {5, "bid"},
            {16, "qd"}, {7, "qid"}, {10, "qn"}, {11, "qod"}, {12, "prn"}, {14, "HS"}};
        for (const auto& [index, caption] : keys) {
            QCOMPARE(key(index)->text(), caption);
            QCOMPARE(key(index)->parentWidget(), keypad);
            QCOMPARE(key(index)->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(key(17)->text(), QString(QChar(0x00D7)));
        // The keys stand in one row inside the keypad, none over another.
        for (const auto& [index, caption] : keys) {
            QVERIFY2(keypad->rect().contains(key(index)->geometry()), qPrintable(caption));
            for (const auto& [other, otherCaption] : keys)
                QVERIFY2(other == index ||
                             !key(index)->geometry().intersects(key(other)->geometry()),
                         qPrintable(caption + QLatin1Char(' ') + otherCaption));
        }
    }

    void focusStartsOnAddAndFollowsTheOrder()
    {
        open();
        QCOMPARE(QApplication::focusWidget(), addButton());
        // The edit frame's boxes, then its buttons, the search box and its list, the exchange,
        // and round again.
        const QList<QWidget*> order = {nameBox(),
                                       usageBox(),
                                       codeBox(),
                                       saveButton(),
                                       deleteButton(),
                                       searchBox(),
                                       list(),
                                       m_window.find<QWidget>(QStringLiteral("CommandImport")),
                                       m_window.find<QWidget>(QStringLiteral("CommandExport")),
                                       addButton()};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void openingListsStoreOrderAndSelectsTheFirst()
    {
        addDrug(QStringLiteral("阿莫西林片 0.25×24/0.5 tid"), QStringLiteral("amxlp"));
        addDrug(QStringLiteral("青霉素针 960万"), QStringLiteral("qmszz"));
        addDrugWithoutCode(QStringLiteral("维生素C片"));
        open();
        QCOMPARE(listed(),
                 QStringList({"阿莫西林片 0.25×24/0.5 tid", "青霉素针 960万", "维生素C片"}));
        QCOMPARE(selectedLine(), 0);
        QCOMPARE(boxes(), QStringList({"阿莫西林片 0.25×24", "0.5 tid", "amxlp"}));
        QVERIFY(!m_window->isAdding());
    }

    void openingAnEmptyListSelectsNothing()
    {
        open();
        QVERIFY(listed().isEmpty());
        QCOMPARE(boxes(), QStringList({"", "", ""}));
    }

    void selectingSplitsAtTheFirstSlashAndShowsTheStoredCode()
    {
        addDrug(QStringLiteral("阿莫西林片 0.25×24/0.5 tid"), QStringLiteral("amxlp"));
        addDrug(QStringLiteral("维生素B1/B6片/1片 tid"), QStringLiteral("WSS"));
        addDrug(QStringLiteral("青霉素针 960万"), QStringLiteral("qms"));
        open();
        clickLine(1);
        QCOMPARE(boxes(), QStringList({"维生素B1", "B6片/1片 tid", "WSS"}));
        clickLine(2);
        QCOMPARE(boxes(), QStringList({"青霉素针 960万", "", "qms"}));
        // The keyboard selects as well.
        QTest::keyClick(list(), Qt::Key_Up);
        QCOMPARE(boxes(), QStringList({"维生素B1", "B6片/1片 tid", "WSS"}));
    }

    void codeFollowsEveryChangeOfTheName()
    {
        open();
        UserInput::click(addButton());
        UserInput::typeText(nameBox(), QStringLiteral("阿莫西林片"));
        QCOMPARE(codeBox()->text(), QStringLiteral("amxlp"));
        UserInput::typeText(nameBox(), QStringLiteral(" 0.25×24"));
        QCOMPARE(codeBox()->text(), QStringLiteral("amxlp "));
        codeBox()->setText(QStringLiteral("abc"));
        QTest::keyClick(nameBox(), Qt::Key_Backspace);
        QCOMPARE(codeBox()->text(), QStringLiteral("amxlp "));
    }

    void addEmptiesSearchAndBoxesAndFocusesTheName()
    {
        addDrug(QStringLiteral("阿莫西林片 0.25×24/0.5 tid"), QStringLiteral("amxlp"));
        addDrug(QStringLiteral("青霉素针 960万"), QStringLiteral("qms"));
        open();
        searchBox()->setText(QStringLiteral("q"));
        QCOMPARE(listed(), QStringList({"青霉素针 960万"}));
        UserInput::click(addButton());
        QVERIFY(m_window->isAdding());
        QCOMPARE(searchBox()->text(), QString());
        QCOMPARE(listed().size(), 2);
        QCOMPARE(selectedLine(), -1);
        QCOMPARE(boxes(), QStringList({"", "", ""}));
        QCOMPARE(QApplication::focusWidget(), nameBox());
    }

    void saveWithUsageStoresNameSlashUsageAndTrimmedCode()
    {
        open();
        UserInput::click(addButton());
        UserInput::typeText(nameBox(), QStringLiteral("阿莫西林片 0.25×24"));
        QCOMPARE(codeBox()->text(), QStringLiteral("amxlp "));
        UserInput::typeText(usageBox(), QStringLiteral("0.5 tid"));
        UserInput::click(saveButton());
        QCOMPARE(stored().size(), 1);
        QCOMPARE(stored().at(0).name(), QStringLiteral("阿莫西林片 0.25×24/0.5 tid"));
        QCOMPARE(stored().at(0).code(), std::optional<QString>(QStringLiteral("amxlp")));
        QCOMPARE(listed(), QStringList({"阿莫西林片 0.25×24/0.5 tid"}));
        QCOMPARE(selectedLine(), -1);
        QVERIFY(!m_window->isAdding());
        QCOMPARE(QApplication::focusWidget(), addButton());
        // The boxes keep what was saved.
        QCOMPARE(boxes(), QStringList({"阿莫西林片 0.25×24", "0.5 tid", "amxlp "}));

        clickLine(0);
        QCOMPARE(boxes(), QStringList({"阿莫西林片 0.25×24", "0.5 tid", "amxlp"}));
    }

    void saveWithoutUsageStoresTheNameAlone()
    {
        addDrug(QStringLiteral("阿莫西林片 0.25×24/0.5 tid"), QStringLiteral("amxlp"));
        open();
        UserInput::click(addButton());
        UserInput::typeText(nameBox(), QStringLiteral("青霉素针 960万"));
        UserInput::click(saveButton());
        QCOMPARE(stored().at(1).name(), QStringLiteral("青霉素针 960万"));
        QCOMPARE(stored().at(1).code(), std::optional<QString>(QStringLiteral("qmsz")));
        clickLine(0);
        clickLine(1);
        QCOMPARE(boxes(), QStringList({"青霉素针 960万", "", "qmsz"}));
    }

    void clearedCodeStoresTheName()
    {
        open();
        UserInput::click(addButton());
        UserInput::typeText(nameBox(), QStringLiteral("头孢呋辛钠针 2.25"));
        codeBox()->setText(QStringLiteral("   "));
        UserInput::click(saveButton());
        QCOMPARE(codeBox()->text(), QStringLiteral("头孢呋辛钠针 2.25"));
        QCOMPARE(stored().at(0).code(),
                 std::optional<QString>(QStringLiteral("头孢呋辛钠针 2.25")));
    }

    void editingRewritesTheSelectedDuplicateOnly()
    {
        const qint64 first = addDrug(QStringLiteral("感冒灵颗粒"), QStringLiteral("gmlkl"));
        const qint64 second = addDrug(QStringLiteral("感冒灵颗粒"), QStringLiteral("gmlkl"));
        open();
        clickLine(1);
        UserInput::typeText(usageBox(), QStringLiteral("1袋 tid"));
        UserInput::click(saveButton());
        const QList<ReferenceEntry> rows = stored();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).rowId(), first);
        QCOMPARE(rows.at(0).name(), QStringLiteral("感冒灵颗粒"));
        QCOMPARE(rows.at(1).rowId(), second);
        QCOMPARE(rows.at(1).name(), QStringLiteral("感冒灵颗粒/1袋 tid"));
    }

    void editingAfterASearchReachesTheLineShown()
    {
        addDrugWithoutCode(QStringLiteral("旧药"));
        addDrug(QStringLiteral("青霉素针 960万"), QStringLiteral("qms"));
        addDrug(QStringLiteral("阿莫西林片 0.25×24"), QStringLiteral("amxlp"));
        addDrug(QStringLiteral("阿司匹林片"), QStringLiteral("asplp"));
        open();
        searchBox()->setText(QStringLiteral("a"));
        QCOMPARE(listed(), QStringList({"阿莫西林片 0.25×24", "阿司匹林片"}));
        clickLine(1);
        UserInput::typeText(usageBox(), QStringLiteral("0.1 qd"));
        UserInput::click(saveButton());
        QCOMPARE(stored().at(0).name(), QStringLiteral("旧药"));
        QCOMPARE(stored().at(1).name(), QStringLiteral("青霉素针 960万"));
        QCOMPARE(stored().at(2).name(), QStringLiteral("阿莫西林片 0.25×24"));
        QCOMPARE(stored().at(3).name(), QStringLiteral("阿司匹林片/0.1 qd"));
        QCOMPARE(listed(), QStringList({"阿莫西林片 0.25×24", "阿司匹林片/0.1 qd"}));
    }

    void entryWithoutCodeIsListedAndEditable()
    {
        addDrug(QStringLiteral("青霉素针 960万"), QStringLiteral("qms"));
        addDrugWithoutCode(QStringLiteral("旧药/1片"));
        open();
        QCOMPARE(listed().size(), 2);
        clickLine(1);
        QCOMPARE(boxes(), QStringList({"旧药", "1片", ""}));
        UserInput::typeText(usageBox(), QStringLiteral(" bid"));
        UserInput::click(saveButton());
        QCOMPARE(stored().at(0).name(), QStringLiteral("青霉素针 960万"));
        QCOMPARE(stored().at(1).name(), QStringLiteral("旧药/1片 bid"));
        // Its empty code box became the name.
        QCOMPARE(stored().at(1).code(), std::optional<QString>(QStringLiteral("旧药")));
    }

    void saveAndDeleteWithNothingSelectedChangeNothing()
    {
        addDrug(QStringLiteral("青霉素针 960万"), QStringLiteral("qms"));
        addDrug(QStringLiteral("阿莫西林片 0.25×24"), QStringLiteral("amxlp"));
        open();
        clickLine(1);
        searchBox()->setText(QStringLiteral("A"));
        QCOMPARE(selectedLine(), -1);
        usageBox()->setText(QStringLiteral("改"));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            UserInput::click(saveButton());
            QVERIFY(answer.seen());
            QVERIFY(answer.text().contains(QStringLiteral("选择")));
        }
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            UserInput::click(deleteButton());
            QVERIFY(answer.seen());
        }
        QCOMPARE(stored().size(), 2);
        QCOMPARE(stored().at(1).name(), QStringLiteral("阿莫西林片 0.25×24"));
        QCOMPARE(usageBox()->text(), QStringLiteral("改"));
    }

    void deleteRemovesTheSelectedDrugAndEmptiesTheBoxes()
    {
        addDrug(QStringLiteral("感冒灵颗粒"), QStringLiteral("gmlkl"));
        const qint64 kept = addDrug(QStringLiteral("感冒灵颗粒"), QStringLiteral("gmlkl"));
        addDrug(QStringLiteral("青霉素针 960万"), QStringLiteral("qms"));
        open();
        searchBox()->setText(QStringLiteral("gm"));
        clickLine(0);
        UserInput::click(deleteButton());
        QCOMPARE(stored().size(), 2);
        QCOMPARE(stored().at(0).rowId(), kept);
        QCOMPARE(listed(), QStringList({"感冒灵颗粒"}));
        QCOMPARE(selectedLine(), -1);
        QCOMPARE(boxes(), QStringList({"", "", ""}));

        // Deleted first elsewhere: told as such, not as a failure, and the list shows the store.
        clickLine(0);
        test::setUp(settings().remove(ReferenceList::Drugs, kept));
        MessageBoxAnswer answer(QMessageBox::Ok);
        UserInput::click(deleteButton());
        QCOMPARE(answer.icon(), QMessageBox::Information);
        QVERIFY(answer.text().contains(QStringLiteral("已在别处删除")));
        QCOMPARE(listed(), QStringList());
        QCOMPARE(boxes(), QStringList({"", "", ""}));
    }

    // A delete the store refused is told, and nothing looks deleted: list and boxes stay.
    void refusedDeleteIsToldAndKeepsTheDrug()
    {
        addDrug(QStringLiteral("感冒灵颗粒"), QStringLiteral("gmlkl"));
        open();
        clickLine(0);
        {
            LockedStore lock(m_folder->paths().settingsFile);
            MessageBoxAnswer answer(QMessageBox::Ok);
            UserInput::click(deleteButton());
            QVERIFY(answer.seen());
            QVERIFY(answer.text().contains(QStringLiteral("被其他程序占用，请关闭它后重试")));
        }
        QCOMPARE(stored().size(), 1);
        QCOMPARE(listed(), QStringList({"感冒灵颗粒"}));
        QCOMPARE(boxes().at(0), QStringLiteral("感冒灵颗粒"));
        UserInput::click(deleteButton());
        QVERIFY(stored().isEmpty());
    }

    void searchMatchesTheCodePrefixInEitherCase()
    {
        addDrug(QStringLiteral("阿莫西林片"), QStringLiteral("amxlp"));
        addDrug(QStringLiteral("青霉素针"), QStringLiteral("qmsz"));
        addDrug(QStringLiteral("ABC片"), QStringLiteral("Abc"));
        addDrug(QStringLiteral("板蓝根"), QStringLiteral("blg"));
        open();
        QTest::keyClick(searchBox(), Qt::Key_A);
        QCOMPARE(listed(), QStringList({"阿莫西林片", "ABC片"}));
        QCOMPARE(selectedLine(), -1);
        searchBox()->setText(QStringLiteral("A"));
        QCOMPARE(listed(), QStringList({"阿莫西林片", "ABC片"}));
        QTest::keyClick(searchBox(), Qt::Key_M);
        QCOMPARE(listed(), QStringList({"阿莫西林片"}));
        searchBox()->clear();
        QCOMPARE(listed().size(), 4);
    }

    void apostropheInTheSearchIsHarmless()
    {
        addDrug(QStringLiteral("阿莫西林片"), QStringLiteral("amxlp"));
        addDrug(QStringLiteral("怪码"), QStringLiteral("a'b"));
        open();
        QTest::keyClicks(searchBox(), QStringLiteral("'"));
        QVERIFY(listed().isEmpty());
        searchBox()->setText(QStringLiteral("a'"));
        QCOMPARE(listed(), QStringList({"怪码"}));
        QCOMPARE(settings().all(ReferenceList::Drugs).value().size(), 2);
    }

    void enterMovesFromNameToUsageToSave()
    {
        open();
        UserInput::click(addButton());
        UserInput::typeText(nameBox(), QStringLiteral("青霉素针"));
        QTest::keyClick(nameBox(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), usageBox());
        QCOMPARE(nameBox()->text(), QStringLiteral("青霉素针"));
        QTest::keyClick(usageBox(), Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), saveButton());
        QVERIFY(stored().isEmpty());
        QTest::keyClick(saveButton(), Qt::Key_Return);
        QCOMPARE(stored().size(), 1);
    }

    // Enter in the code box, the search box or the list neither saves a half-typed drug nor
    // overwrites the selected one; no button is pressed that does not hold the focus.
    void enterElsewhereSavesNothing()
    {
        addDrug(QStringLiteral("阿莫西林片 0.25×24/0.5 tid"), QStringLiteral("amxlp"));
        open();
        for (QPushButton* button : m_window->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        const QList<QWidget*> elsewhere{codeBox(), searchBox(), list()};
        UserInput::typeText(usageBox(), QStringLiteral(" 饭后"));
        for (QWidget* control : elsewhere) {
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
            QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        }
        QCOMPARE(stored().size(), 1);
        QCOMPARE(stored().first().name(), QStringLiteral("阿莫西林片 0.25×24/0.5 tid"));

        UserInput::click(addButton());
        UserInput::typeText(nameBox(), QStringLiteral("青霉素"));
        for (QWidget* control : elsewhere) {
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
        }
        QCOMPARE(stored().size(), 1);
        QVERIFY(m_window->isVisible());
        QCOMPARE(nameBox()->text(), QStringLiteral("青霉素"));
        QVERIFY(m_window->isAdding());
    }

    // Escape closes at once when nothing typed would be lost; otherwise it asks, and "no"
    // keeps the window and the typing.
    void escapeAsksBeforeLosingTypedText()
    {
        addDrug(QStringLiteral("阿莫西林片 0.25×24/0.5 tid"), QStringLiteral("amxlp"));
        open();
        UserInput::typeText(usageBox(), QStringLiteral(" 饭后"));
        {
            MessageBoxAnswer keep(QMessageBox::No);
            QTest::keyClick(usageBox(), Qt::Key_Escape);
            QVERIFY(keep.seen());
            QCOMPARE(keep.icon(), QMessageBox::Question);
        }
        QVERIFY(m_window->isVisible());
        QCOMPARE(usageBox()->text(), QStringLiteral("0.5 tid 饭后"));

        // Once saved the typing is safe; a keypad key typed and taken back loses nothing either.
        UserInput::click(saveButton());
        QCOMPARE(stored().first().name(), QStringLiteral("阿莫西林片 0.25×24/0.5 tid 饭后"));
        QTest::mouseClick(key(13), Qt::LeftButton);
        QCOMPARE(usageBox()->text(), QStringLiteral("0.5 tid 饭后tid"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(usageBox(), Qt::Key_Backspace);
        MessageBoxAnswer none(QMessageBox::Yes);
        QTest::keyClick(list(), Qt::Key_Escape);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!none.seen());
    }

    void keypadTypesIntoTheLastEditBox()
    {
        open();
        QTest::mouseClick(key(13), Qt::LeftButton);
        QCOMPARE(boxes(), QStringList({"", "", ""}));

        usageBox()->setFocus();
        usageBox()->setText(QStringLiteral("0.5 "));
        QTest::mouseClick(key(13), Qt::LeftButton);
        QCOMPARE(usageBox()->text(), QStringLiteral("0.5 tid"));

        UserInput::typeText(nameBox(), QStringLiteral("阿莫西林片 0.25"));
        searchBox()->setFocus();
        QTest::mouseClick(key(17), Qt::LeftButton);
        QCOMPARE(nameBox()->text(), QStringLiteral("阿莫西林片 0.25×"));
        QCOMPARE(QApplication::focusWidget(), nameBox());

        // A selection is replaced.
        nameBox()->setSelection(0, 5);
        QTest::mouseClick(key(0), Qt::LeftButton);
        QCOMPARE(nameBox()->text(), QStringLiteral("mg 0.25×"));

        // The search caption is no key.
        QTest::mouseClick(key(1), Qt::LeftButton);
        QCOMPARE(nameBox()->text(), QStringLiteral("mg 0.25×"));
        QCOMPARE(searchBox()->text(), QString());
    }

    void popupDeletesOnlyOverAFilledList()
    {
        open();
        QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, QPoint(10, 10));
        QMenu* popup = m_window.find<QMenu>(QStringLiteral("pu"));
        QVERIFY(!popup->isVisible());

        m_window.reset();
        addDrug(QStringLiteral("青霉素针"), QStringLiteral("qmsz"));
        addDrug(QStringLiteral("阿莫西林片"), QStringLiteral("amxlp"));
        open();
        popup = m_window.find<QMenu>(QStringLiteral("pu"));
        const QRect second = list()->visualRect(list()->model()->index(1, 0));
        QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, second.center());
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->actions().size(), 2);
        QCOMPARE(popup->actions().at(0)->text(), QStringLiteral("删除"));
        QCOMPARE(popup->actions().at(1)->text(), QStringLiteral("取消"));
        popup->actions().at(1)->trigger();
        QCOMPARE(stored().size(), 2);
        popup->actions().at(0)->trigger();
        popup->hide();
        QCOMPARE(stored().size(), 1);
        QCOMPARE(stored().at(0).name(), QStringLiteral("青霉素针"));
    }

    void openingFailureIsReported()
    {
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().settingsFile));
        MessageBoxAnswer answer(QMessageBox::Ok);
        open();
        QVERIFY(answer.seen());
        QCOMPARE(answer.title(), QStringLiteral("药品维护"));
        QVERIFY(listed().isEmpty());
    }

    void searchFailureIsReported()
    {
        addDrug(QStringLiteral("青霉素针"), QStringLiteral("qmsz"));
        open();
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().settingsFile));
        MessageBoxAnswer answer(QMessageBox::Ok);
        searchBox()->setText(QStringLiteral("q"));
        QVERIFY(answer.seen());
        QVERIFY(listed().isEmpty());
    }

    void refusedSaveKeepsWhatWasTyped()
    {
        open();
        UserInput::click(addButton());
        const QString tooLong(201, QChar(0x836F));
        nameBox()->setText(tooLong);
        codeBox()->setText(QStringLiteral("yao"));
        MessageBoxAnswer answer(QMessageBox::Ok);
        UserInput::click(saveButton());
        QVERIFY(answer.seen());
        QVERIFY(answer.text().contains(QStringLiteral("未能保存")));
        QVERIFY(stored().isEmpty());
        QVERIFY(m_window->isAdding());
        QCOMPARE(nameBox()->text(), tooLong);

        nameBox()->setText(QStringLiteral("药"));
        UserInput::click(saveButton());
        QCOMPARE(stored().size(), 1);
    }
};

QTEST_MAIN(TestDrugWindow)
#include "TestDrugWindow.moc"
