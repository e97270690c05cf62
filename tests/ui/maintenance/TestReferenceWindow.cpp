#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/sql/BoundQuery.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "ui/common/Twips.h"
#include "ui/maintenance/ReferenceWindow.h"
#include "ui/maintenance/ReferenceWindowLayout.h"
#include "ui/support/LayoutCheck.h"
#include "ui/support/MessageBoxAnswer.h"
#include "ui/support/UserInput.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace quilloa;
using quilloa::test::LayoutCheck;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

class TestReferenceWindow : public QObject, quilloa::test::ListWindowFixture<ReferenceWindow>
{
    Q_OBJECT

    qint64 addDiagnosis(const QString& name, const QString& code)
    {
        return settings().add(ReferenceList::Diagnoses, name, code).valueOr(-1);
    }
    QList<ReferenceEntry> stored(ReferenceList list = ReferenceList::Diagnoses) const
    {
        return settings().all(list).value();
    }

    void open(ReferenceList list = ReferenceList::Diagnoses)
    {
        QVERIFY(m_window.open(m_folder->context(), list));
    }

    QPushButton* addButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("Command2"));
    }
    QPushButton* quitButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("Command1"));
    }
    QPushButton* importButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("CommandImport"));
    }
    QPushButton* exportButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("CommandExport"));
    }
    QMenu* popup() const { return m_window.find<QMenu>(QStringLiteral("pu")); }

    // Right-clicks a line and chooses "删除".
    void deleteLine(int line)
    {
        clickLine(line, Qt::RightButton);
        QVERIFY(popup()->isVisible());
        popup()->actions().at(0)->trigger();
        popup()->hide();
    }

private slots:
    void init() { makeFolder(); }
    void cleanup() { dropWindowAndFolder(); }

    void diagnosisWindowLayoutAndFocus()
    {
        open();
        QCOMPARE(m_window->objectName(), QStringLiteral("Form3"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("诊断名称维护"));
        QCOMPARE(m_window->size(), QSize(twipsToPixels(referencewindow::kDiagnosisWidth),
                                         twipsToPixels(referencewindow::kDiagnosisHeight)));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        const QStringList faults = LayoutCheck::all(
            m_window.get(), LayoutCheck::join(referencewindow::kDiagnosisPlacements,
                                              referencewindow::kExchangePlacements));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label1_0"))->text(),
                 QStringLiteral("诊断名称："));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label1_1"))->text(),
                 QStringLiteral("拼音代码："));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label5_1"))->text(),
                 QStringLiteral("拼音查询："));
        QCOMPARE(addButton()->text(), QStringLiteral("添  加"));
        QCOMPARE(quitButton()->text(), QStringLiteral("退  出"));

        QCOMPARE(QApplication::focusWidget(), searchBox());
        for (QWidget* next :
             QList<QWidget*>{list(), nameBox(), codeBox(), addButton(), quitButton(),
                             importButton(), exportButton(), searchBox()}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void addressWindowLayoutAndFocus()
    {
        open(ReferenceList::Addresses);
        QCOMPARE(m_window->objectName(), QStringLiteral("Form4"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("地址名称维护"));
        QCOMPARE(m_window->size(), QSize(twipsToPixels(referencewindow::kAddressWidth),
                                         twipsToPixels(referencewindow::kAddressHeight)));
        const QStringList faults = LayoutCheck::all(
            m_window.get(), LayoutCheck::join(referencewindow::kAddressPlacements,
                                              referencewindow::kExchangePlacements));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label1_0"))->text(),
                 QStringLiteral("地址名称："));

        QCOMPARE(QApplication::focusWidget(), addButton());
        for (QWidget* next :
             QList<QWidget*>{quitButton(), importButton(), exportButton(), searchBox(), list(),
                             nameBox(), codeBox(), addButton()}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void openingListsEveryEntryAndSelectsNone()
    {
        addDiagnosis(QStringLiteral("高血压病"), QStringLiteral("gxyb"));
        QVERIFY(
            BoundQuery::run(settings().file(),
                            QStringLiteral("INSERT INTO [诊断] ([名称], [拼音]) VALUES (?, NULL)"),
                            {QStringLiteral("旧诊断")})
                .ok());
        addDiagnosis(QStringLiteral("感冒"), QStringLiteral("gm"));
        open();
        QCOMPARE(listed(), QStringList({"高血压病", "旧诊断", "感冒"}));
        QCOMPARE(selectedLine(), -1);
        // Selecting only highlights.
        clickLine(2);
        QCOMPARE(selectedLine(), 2);
        QCOMPARE(nameBox()->text(), QString());
        QCOMPARE(codeBox()->text(), QString());
    }

    void addStoresTheBuiltCodeWithItsTrailingSpace()
    {
        open(ReferenceList::Addresses);
        UserInput::typeText(nameBox(), QStringLiteral("城东 3号"));
        QCOMPARE(codeBox()->text(), QStringLiteral("cd "));
        QTest::mouseClick(addButton(), Qt::LeftButton);
        QCOMPARE(stored(ReferenceList::Addresses).size(), 1);
        QCOMPARE(stored(ReferenceList::Addresses).at(0).name(), QStringLiteral("城东 3号"));
        QCOMPARE(stored(ReferenceList::Addresses).at(0).code(),
                 std::optional<QString>(QStringLiteral("cd ")));
        QCOMPARE(listed(), QStringList({"城东 3号"}));
        QCOMPARE(selectedLine(), 0);
        QCOMPARE(nameBox()->text(), QString());
        QCOMPARE(codeBox()->text(), QString());
        QCOMPARE(QApplication::focusWidget(), nameBox());
    }

    void emptyCodeBecomesTheNameButBlanksStay()
    {
        open();
        UserInput::typeText(nameBox(), QStringLiteral("高血压病"));
        codeBox()->clear();
        QTest::mouseClick(addButton(), Qt::LeftButton);
        UserInput::typeText(nameBox(), QStringLiteral("感冒"));
        codeBox()->setText(QStringLiteral(" "));
        QTest::mouseClick(addButton(), Qt::LeftButton);
        QCOMPARE(stored().at(0).code(), std::optional<QString>(QStringLiteral("高血压病")));
        QCOMPARE(stored().at(1).code(), std::optional<QString>(QStringLiteral(" ")));
    }

    void enterInTheNameBoxAddsAndDuplicatesAreKept()
    {
        open();
        UserInput::typeText(nameBox(), QStringLiteral("感冒"));
        QTest::keyClick(nameBox(), Qt::Key_Return);
        UserInput::typeText(nameBox(), QStringLiteral("感冒"));
        QTest::keyClick(nameBox(), Qt::Key_Enter);
        QCOMPARE(stored().size(), 2);
        QCOMPARE(listed(), QStringList({"感冒", "感冒"}));
        QCOMPARE(selectedLine(), 1);
        QCOMPARE(nameBox()->text(), QString());
    }

    void addWhileASearchNarrowsTheListShowsTheNewEntryLast()
    {
        addDiagnosis(QStringLiteral("高血压病"), QStringLiteral("gxyb"));
        addDiagnosis(QStringLiteral("感冒"), QStringLiteral("gm"));
        addDiagnosis(QStringLiteral("发热"), QStringLiteral("fr"));
        open();
        QTest::keyClick(searchBox(), Qt::Key_G);
        QCOMPARE(listed(), QStringList({"高血压病", "感冒"}));
        UserInput::typeText(nameBox(), QStringLiteral("咳嗽"));
        QTest::mouseClick(addButton(), Qt::LeftButton);
        QCOMPARE(listed(), QStringList({"高血压病", "感冒", "咳嗽"}));
        QCOMPARE(selectedLine(), 2);

        // That line is the new entry, though the search does not find it.
        deleteLine(2);
        QCOMPARE(stored().size(), 3);
        QCOMPARE(stored().at(2).name(), QStringLiteral("发热"));
        QCOMPARE(listed(), QStringList({"高血压病", "感冒"}));
    }

    void deleteRemovesTheSelectedDuplicateAndRefills()
    {
        const qint64 first = addDiagnosis(QStringLiteral("感冒"), QStringLiteral("gm"));
        addDiagnosis(QStringLiteral("感冒"), QStringLiteral("gm"));
        addDiagnosis(QStringLiteral("发热"), QStringLiteral("fr"));
        open();
        searchBox()->setText(QStringLiteral("GM"));
        QCOMPARE(listed(), QStringList({"感冒", "感冒"}));
        deleteLine(1);
        QCOMPARE(stored().size(), 2);
        QCOMPARE(stored().at(0).rowId(), first);
        QCOMPARE(stored().at(1).name(), QStringLiteral("发热"));
        QCOMPARE(listed(), QStringList({"感冒"}));
        QCOMPARE(selectedLine(), -1);

        // Deleted first elsewhere: told as such, not as a failure, and the list shows the store.
        test::setUp(settings().remove(ReferenceList::Diagnoses, first));
        MessageBoxAnswer answer(QMessageBox::Ok);
        deleteLine(0);
        QCOMPARE(answer.icon(), QMessageBox::Information);
        QVERIFY(answer.text().contains(QStringLiteral("已在别处删除")));
        QCOMPARE(listed(), QStringList());
    }

    void deleteWithNothingSelectedAsksFirst()
    {
        addDiagnosis(QStringLiteral("感冒"), QStringLiteral("gm"));
        open();
        QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, QPoint(2, list()->height() - 4));
        QVERIFY(popup()->isVisible());
        MessageBoxAnswer answer(QMessageBox::Ok);
        popup()->actions().at(0)->trigger();
        popup()->hide();
        QVERIFY(answer.seen());
        QCOMPARE(stored().size(), 1);
    }

    void popupNeedsAFilledList()
    {
        open();
        QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, QPoint(10, 10));
        QVERIFY(!popup()->isVisible());
        QCOMPARE(popup()->actions().at(1)->text(), QStringLiteral("取消"));
    }

    void searchByOneLetterInEitherCaseAndWithAnApostrophe()
    {
        addDiagnosis(QStringLiteral("高血压病"), QStringLiteral("gxyb"));
        addDiagnosis(QStringLiteral("发热"), QStringLiteral("fr"));
        addDiagnosis(QStringLiteral("感冒"), QStringLiteral("GM"));
        open();
        searchBox()->setText(QStringLiteral("g"));
        QCOMPARE(listed(), QStringList({"高血压病", "感冒"}));
        searchBox()->setText(QStringLiteral("G"));
        QCOMPARE(listed(), QStringList({"高血压病", "感冒"}));
        searchBox()->setText(QStringLiteral("g'"));
        QVERIFY(listed().isEmpty());
        QCOMPARE(stored().size(), 3);
    }

    void refusedAddIsReportedAndKeepsTheBoxes()
    {
        open();
        const QString tooLong(51, QChar(0x75C5));
        nameBox()->setText(tooLong);
        codeBox()->setText(QStringLiteral("b"));
        MessageBoxAnswer answer(QMessageBox::Ok);
        QTest::mouseClick(addButton(), Qt::LeftButton);
        QVERIFY(answer.seen());
        QCOMPARE(answer.title(), QStringLiteral("诊断名称维护"));
        QVERIFY(stored().isEmpty());
        QVERIFY(listed().isEmpty());
        QCOMPARE(nameBox()->text(), tooLong);
        QCOMPARE(codeBox()->text(), QStringLiteral("b"));
    }

    void missingStoreIsReportedAtOpeningAndSearch()
    {
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().settingsFile));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            open(ReferenceList::Addresses);
            QVERIFY(answer.seen());
        }
        MessageBoxAnswer answer(QMessageBox::Ok);
        searchBox()->setText(QStringLiteral("a"));
        QVERIFY(answer.seen());
        QVERIFY(listed().isEmpty());
    }

    void enterOutsideTheNameBoxNeitherAddsNorCloses_data()
    {
        QTest::addColumn<bool>("diagnoses");
        QTest::newRow("diagnoses") << true;
        QTest::newRow("addresses") << false;
    }
    // Only the name box adds on Enter; the search box, the code box and the list do nothing,
    // whatever the boxes hold, and the window stays open with the typing.
    void enterOutsideTheNameBoxNeitherAddsNorCloses()
    {
        QFETCH(bool, diagnoses);
        const ReferenceList which = diagnoses ? ReferenceList::Diagnoses : ReferenceList::Addresses;
        open(which);
        for (QPushButton* button : m_window->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        for (QWidget* control : QList<QWidget*>{searchBox(), codeBox(), list()}) {
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
        }
        QVERIFY(stored(which).isEmpty());
        UserInput::typeText(nameBox(), QStringLiteral("城东"));
        for (QWidget* control : QList<QWidget*>{searchBox(), codeBox(), list()}) {
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
            QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        }
        QVERIFY(stored(which).isEmpty());
        QVERIFY(m_window->isVisible());
        QCOMPARE(nameBox()->text(), QStringLiteral("城东"));
        QCOMPARE(codeBox()->text(), QStringLiteral("cd"));
    }

    void escapeAsksBeforeLosingATypedEntry_data()
    {
        enterOutsideTheNameBoxNeitherAddsNorCloses_data();
    }
    void escapeAsksBeforeLosingATypedEntry()
    {
        QFETCH(bool, diagnoses);
        const ReferenceList which = diagnoses ? ReferenceList::Diagnoses : ReferenceList::Addresses;
        open(which);
        UserInput::typeText(nameBox(), QStringLiteral("城东"));
        {
            MessageBoxAnswer keep(QMessageBox::No);
            QTest::keyClick(searchBox(), Qt::Key_Escape);
            QVERIFY(keep.seen());
        }
        QVERIFY(m_window->isVisible());
        QCOMPARE(nameBox()->text(), QStringLiteral("城东"));
        {
            MessageBoxAnswer discard(QMessageBox::Yes);
            QTest::keyClick(nameBox(), Qt::Key_Escape);
            QVERIFY(discard.seen());
        }
        QVERIFY(!m_window->isVisible());
        QVERIFY(stored(which).isEmpty());

        // After an add the boxes are empty again: nothing to lose, no question.
        open(which);
        UserInput::typeText(nameBox(), QStringLiteral("城东"));
        QTest::keyClick(nameBox(), Qt::Key_Return);
        MessageBoxAnswer none(QMessageBox::Yes);
        QTest::keyClick(list(), Qt::Key_Escape);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!none.seen());
        QCOMPARE(stored(which).size(), 1);
    }

    void quitClosesTheWindow()
    {
        open();
        QTest::mouseClick(quitButton(), Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
    }

    // The close box and "退  出" ask as Escape does; the program closing the window (after a
    // restore) does not.
    void closeBoxAndQuitAskBeforeLosingATypedEntry()
    {
        open();
        UserInput::typeText(nameBox(), QStringLiteral("城东"));
        {
            MessageBoxAnswer keep(QMessageBox::No, 2);
            QVERIFY(!UserInput::clickCloseBox(m_window.get()));
            QTest::mouseClick(quitButton(), Qt::LeftButton);
            QCOMPARE(keep.texts().size(), 2);
        }
        QVERIFY(m_window->isVisible());
        QCOMPARE(nameBox()->text(), QStringLiteral("城东"));
        {
            MessageBoxAnswer discard(QMessageBox::Yes);
            UserInput::clickCloseBox(m_window.get());
            QVERIFY(discard.seen());
        }
        QVERIFY(!m_window->isVisible());

        open();
        UserInput::typeText(nameBox(), QStringLiteral("城东"));
        MessageBoxAnswer none(QMessageBox::No);
        m_window->close();
        QVERIFY(!m_window->isVisible());
        QVERIFY(!none.seen());
    }
};

QTEST_MAIN(TestReferenceWindow)
#include "TestReferenceWindow.moc"
