#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "core/store/sql/BoundQuery.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "ui/entry/DrugPanel.h"
#include "ui/entry/EntryFocusMemory.h"
#include "ui/entry/LookupList.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/startup/FontSetup.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include <memory>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

class TestDrugPicker : public QObject, quilloa::test::MainWindowFixture
{
    Q_OBJECT

    QLineEdit* searchBox() const { return m_window.find<QLineEdit>(QStringLiteral("Text1")); }
    QListWidget* drugList() const { return m_window.find<QListWidget>(QStringLiteral("List1")); }
    QTextEdit* body() const { return m_window.find<QTextEdit>(QStringLiteral("R1")); }

    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < drugList()->count(); ++i)
            names << drugList()->item(i)->text();
        return names;
    }

    void addDrug(const QString& name, const QString& code)
    {
        QVERIFY(settings().add(ReferenceList::Drugs, name, code).ok());
    }

    void openWithNewSheet()
    {
        QVERIFY(m_window.open(m_folder->context()));
        m_window->newPrescription();
    }

    // Types a code into the search box and clicks the listed drug of that name.
    void pickByClick(const QString& code, const QString& name)
    {
        QTest::keyClicks(searchBox(), code);
        const QList<QListWidgetItem*> found = drugList()->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mouseClick(drugList()->viewport(), Qt::LeftButton, {},
                          drugList()->visualItemRect(found.first()).center());
    }

private slots:
    // The faces the program itself installs for 宋体, whose lines are taller than the original's.
    void initTestCase() { FontSetup::install(); }

    void init()
    {
        makeFolder();
        addDrug(QStringLiteral("维生素C片 0.1g×100"), QStringLiteral("wsscp"));
        addDrug(QStringLiteral("阿莫西林胶囊 0.25g×24/0.5 tid"), QStringLiteral("amxljn"));
        addDrug(QStringLiteral("青霉素/80万u im bid/皮试"), QStringLiteral("qms"));
        addDrug(QStringLiteral("葡萄糖注射液/"), QStringLiteral("pttzsy"));
        openWithNewSheet();
    }

    void cleanup() { dropWindowAndFolder(); }

    void listShowsTheFirst18MatchesInStoreOrder()
    {
        for (int i = 0; i < 30; ++i)
            addDrug(QStringLiteral("药%1").arg(i), QStringLiteral("x%1k").arg(i));
        // A drug without a code is found by no code, not even by an empty one.
        QVERIFY(
            BoundQuery::run(settings().file(),
                            QStringLiteral("INSERT INTO [药品] ([名称], [拼音]) VALUES (?, NULL)"),
                            {QStringLiteral("无码")})
                .ok());
        QTest::keyClicks(searchBox(), QStringLiteral("k"));
        QStringList first18;
        for (int i = 0; i < 18; ++i)
            first18 << QStringLiteral("药%1").arg(i);
        QCOMPARE(listed(), first18);

        // Each keystroke refills: a longer code narrows, a shorter one widens again.
        QTest::keyClicks(searchBox(), QStringLiteral("x"));
        QCOMPARE(listed(), QStringList());
        QTest::keyClick(searchBox(), Qt::Key_Backspace);
        QCOMPARE(listed(), first18);
        searchBox()->setText(QStringLiteral("1k"));
        QCOMPARE(listed(), QStringList({"药1", "药11", "药21"}));
        searchBox()->clear();
        QCOMPARE(listed().size(), 18);
        QCOMPARE(listed().first(), QStringLiteral("维生素C片 0.1g×100"));
        QVERIFY(!listed().contains(QStringLiteral("无码")));
    }

    // At opening the list holds the first 18 rows as stored, a row without a code among them,
    // and all 18 stand in the list's height; only the code search passes such a row over.
    void openingListsTheFirst18RowsWithOrWithoutACodeAllInView()
    {
        QVERIFY(
            BoundQuery::run(settings().file(),
                            QStringLiteral("INSERT INTO [药品] ([名称], [拼音]) VALUES (?, NULL)"),
                            {QStringLiteral("无码旧药 gjpqy")})
                .ok());
        for (int i = 0; i < 20; ++i)
            addDrug(QStringLiteral("药%1 0.25g×24/0.5 tid").arg(i), QStringLiteral("y%1").arg(i));
        openWithNewSheet();
        QCOMPARE(listed().size(), 18);
        QCOMPARE(listed().at(3), QStringLiteral("葡萄糖注射液/"));
        QCOMPARE(listed().at(4), QStringLiteral("无码旧药 gjpqy"));
        QCOMPARE(listed().at(17), QStringLiteral("药12 0.25g×24/0.5 tid"));
        QVERIFY(!drugList()->verticalScrollBar()->isVisible());
        const QRect view = drugList()->viewport()->rect();
        for (int i = 0; i < 18; ++i)
            QVERIFY2(view.contains(drugList()->visualItemRect(drugList()->item(i))),
                     qPrintable(QString::number(i)));

        QTest::keyClicks(searchBox(), QStringLiteral("y"));
        QVERIFY(!listed().contains(QStringLiteral("无码旧药 gjpqy")));
        searchBox()->clear();
        QCOMPARE(listed().size(), 18);
        QVERIFY(!listed().contains(QStringLiteral("无码旧药 gjpqy")));
    }

    void codesMatchAnywhereAndQuotesAreCharacters()
    {
        QTest::keyClicks(searchBox(), QStringLiteral("XL"));
        QCOMPARE(listed(), QStringList({"阿莫西林胶囊 0.25g×24/0.5 tid"}));
        searchBox()->clear();
        QTest::keyClicks(searchBox(), QStringLiteral("q'"));
        QCOMPARE(listed(), QStringList());
        QCOMPARE(searchBox()->text(), QStringLiteral("q'"));
    }

    void pickAppendsTheUsageLines_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("appended");
        QTest::newRow("no usage") << "wss"
                                  << "维生素C片 0.1g×100"
                                  << "维生素C片 0.1g×100\n";
        QTest::newRow("one usage") << "amx"
                                   << "阿莫西林胶囊 0.25g×24/0.5 tid"
                                   << "阿莫西林胶囊 0.25g×24\n    用法：0.5 tid\n";
        QTest::newRow("two usages") << "qms"
                                    << "青霉素/80万u im bid/皮试"
                                    << "青霉素\n    用法：80万u im bid\n    用法：皮试\n";
        QTest::newRow("trailing slash") << "ptt"
                                        << "葡萄糖注射液/"
                                        << "葡萄糖注射液\n    用法：\n";
    }

    void pickAppendsTheUsageLines()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, appended);
        body()->setPlainText(QStringLiteral("Rp:\n"));
        pickByClick(code, name);
        QCOMPARE(body()->toPlainText(), QStringLiteral("Rp:\n") + appended);
        // Ready for the next code: an empty box with the focus, the first drugs listed.
        QCOMPARE(searchBox()->text(), QString());
        QCOMPARE(QApplication::focusWidget(), searchBox());
        QCOMPARE(listed().size(), 4);
        QCOMPARE(body()->textCursor().position(), body()->document()->characterCount() - 1);
    }

    void pickingTwiceAppendsTwice()
    {
        pickByClick(QStringLiteral("amx"), QStringLiteral("阿莫西林胶囊 0.25g×24/0.5 tid"));
        pickByClick(QStringLiteral("amx"), QStringLiteral("阿莫西林胶囊 0.25g×24/0.5 tid"));
        const QString once = QStringLiteral("阿莫西林胶囊 0.25g×24\n    用法：0.5 tid\n");
        QCOMPARE(body()->toPlainText(), once + once);
    }

    void pickAppendsAtTheEndWhereverTheCaretStood()
    {
        body()->setPlainText(QStringLiteral("第一行\n第二行"));
        QTextCursor caret = body()->textCursor();
        caret.setPosition(2);
        caret.setPosition(5, QTextCursor::KeepAnchor);
        body()->setTextCursor(caret);
        pickByClick(QStringLiteral("wss"), QStringLiteral("维生素C片 0.1g×100"));
        QCOMPARE(body()->toPlainText(), QStringLiteral("第一行\n第二行维生素C片 0.1g×100\n"));
        QVERIFY(!body()->textCursor().hasSelection());
        QVERIFY(body()->textCursor().atEnd());
    }

    void downThenEnterPicks()
    {
        QTest::keyClicks(searchBox(), QStringLiteral("q"));
        QCOMPARE(listed(), QStringList({"青霉素/80万u im bid/皮试"}));
        QTest::keyClick(searchBox(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), drugList());
        QCOMPARE(searchBox()->text(), QStringLiteral("q"));
        QTest::keyClick(drugList(), Qt::Key_Return);
        QCOMPARE(body()->toPlainText(),
                 QStringLiteral("青霉素\n    用法：80万u im bid\n    用法：皮试\n"));
        QCOMPARE(QApplication::focusWidget(), searchBox());
        QCOMPARE(searchBox()->text(), QString());

        // Moving on in the list with Down, then Enter, picks that drug.
        QTest::keyClick(searchBox(), Qt::Key_Down);
        QTest::keyClick(drugList(), Qt::Key_Down);
        QTest::keyClick(drugList(), Qt::Key_Enter);
        QVERIFY(body()->toPlainText().endsWith(
            QStringLiteral("皮试\n阿莫西林胶囊 0.25g×24\n    用法：0.5 tid\n")));
    }

    void pickWithoutSelectionOnlyResetsTheBox()
    {
        body()->setPlainText(QStringLiteral("原有"));
        QTest::keyClicks(searchBox(), QStringLiteral("a"));
        drugList()->setFocus(Qt::OtherFocusReason);
        drugList()->clearSelection();
        QTest::keyClick(drugList(), Qt::Key_Return);
        QCOMPARE(body()->toPlainText(), QStringLiteral("原有"));
        QCOMPARE(searchBox()->text(), QString());
        QCOMPARE(QApplication::focusWidget(), searchBox());

        // Down into an empty list leaves nothing to pick either.
        QTest::keyClicks(searchBox(), QStringLiteral("zzz"));
        QTest::keyClick(searchBox(), Qt::Key_Down);
        QTest::keyClick(drugList(), Qt::Key_Return);
        QCOMPARE(body()->toPlainText(), QStringLiteral("原有"));
    }

    void searchBoxFocusHidesLookupsAndIsRemembered()
    {
        test::setUp(settings().add(ReferenceList::Diagnoses, QStringLiteral("急性胃炎"),
                                   QStringLiteral("jxwy")));
        test::setUp(
            settings().add(ReferenceList::Addresses, QStringLiteral("城东"), QStringLiteral("cd")));
        LookupList* diagnoses = m_window.find<LookupList>(QStringLiteral("list2"));
        LookupList* addresses = m_window.find<LookupList>(QStringLiteral("list5"));
        m_window.find<QLineEdit>(QStringLiteral("Text4_4"))->setFocus(Qt::OtherFocusReason);
        QVERIFY(diagnoses->isVisible());
        QTest::mouseClick(searchBox(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), searchBox());
        QVERIFY(!diagnoses->isVisible());
        QCOMPARE(m_window->focusMemory()->lastPlain(), searchBox());

        // Enter in the address field leads here, and its open list closes.
        body()->setFocus(Qt::OtherFocusReason);
        QVERIFY(m_window->focusMemory()->richActive());
        QLineEdit* address = m_window.find<QLineEdit>(QStringLiteral("Text4_5"));
        address->setFocus(Qt::OtherFocusReason);
        QVERIFY(addresses->isVisible());
        QTest::keyClick(address, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), searchBox());
        QVERIFY(!addresses->isVisible());
        QCOMPARE(m_window->focusMemory()->lastPlain(), searchBox());
        QVERIFY(!m_window->focusMemory()->richActive());
    }

    void storeThatCannotBeReadIsToldInTheList()
    {
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().settingsFile));
        QTest::keyClicks(searchBox(), QStringLiteral("a"));
        // One line that tells the failure and cannot be picked; the typing goes on.
        QCOMPARE(drugList()->count(), 1);
        QVERIFY(drugList()->item(0)->text().startsWith(QStringLiteral("查询失败")));
        QCOMPARE(drugList()->item(0)->flags(), Qt::NoItemFlags);
        QCOMPARE(searchBox()->text(), QStringLiteral("a"));
    }
};

QTEST_MAIN(TestDrugPicker)
#include "TestDrugPicker.moc"
