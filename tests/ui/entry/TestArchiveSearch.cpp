#include "core/store/ArchiveStore.h"
#include "core/store/StoreConnection.h"
#include "support/ListLines.h"
#include "support/TestProgramFolder.h"
#include "ui/entry/ArchivePanel.h"
#include "ui/entry/EntryFocusMemory.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/mainwindow/MainWindow.h"
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
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

class TestArchiveSearch : public QObject, quilloa::test::MainWindowFixture
{
    Q_OBJECT

    QLineEdit* nameBox() const { return m_window.find<QLineEdit>(QStringLiteral("Text2")); }
    QLineEdit* dateBox() const { return m_window.find<QLineEdit>(QStringLiteral("Text3")); }
    QListView* archiveList() const { return m_window.find<QListView>(QStringLiteral("T1")); }
    quilloa::test::ListLines archiveLines() const
    {
        return quilloa::test::ListLines(archiveList());
    }

    qint64 add(const QString& name, const QString& key, const QString& sex = QString(),
               const QString& age = QString())
    {
        PrescriptionRecord r;
        r.key = key;
        r.name = name;
        r.sex = sex;
        r.age = age;
        r.date = key.left(10);
        const auto added = archive().add(r);
        if (!added.ok())
            qFatal("record not stored: %s", qPrintable(added.error()));
        return added.value();
    }

    QStringList search(const QString& name, const QString& date)
    {
        nameBox()->setText(name);
        dateBox()->setText(date);
        QTest::mouseClick(m_window.find<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
        return archiveLines().texts();
    }

    void clickLine(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(archiveList()->viewport(), button, {}, archiveLines().centerOf(row));
    }

private slots:
    void init() { makeFolder(); }

    void cleanup() { dropWindowAndFolder(); }

    void searchByNameAndDate()
    {
        add(QStringLiteral("张三"), QStringLiteral("2009-02-27 10:00:00"));
        add(QStringLiteral("李四"), QStringLiteral("2009-03-02 09:00:00"));
        add(QStringLiteral("张小三"), QStringLiteral("2009-03-25 08:00:00"));
        add(QStringLiteral("王五"), QStringLiteral("2009-03-25 11:30:00"));
        open();

        QCOMPARE(search(QStringLiteral("三"), QString()),
                 QStringList({"张三[2009-02-27 10:00:00]", "张小三[2009-03-25 08:00:00]"}));
        QCOMPARE(search(QString(), QStringLiteral("2009-03")),
                 QStringList({"李四[2009-03-02 09:00:00]", "张小三[2009-03-25 08:00:00]",
                              "王五[2009-03-25 11:30:00]"}));
        QCOMPARE(search(QString(), QStringLiteral("2009-03-25")),
                 QStringList({"张小三[2009-03-25 08:00:00]", "王五[2009-03-25 11:30:00]"}));
        QCOMPARE(search(QStringLiteral("张"), QStringLiteral("2009-03-25")),
                 QStringList({"张小三[2009-03-25 08:00:00]"}));
        QCOMPARE(search(QStringLiteral("赵"), QString()), QStringList());
        QCOMPARE(search(QString(), QString()).size(), 4);
    }

    void searchHasNoCap()
    {
        for (int i = 0; i < 130; ++i)
            add(QStringLiteral("病人%1").arg(i), QStringLiteral("2009-03-01 08:%1:%2")
                                                     .arg(i / 60, 2, 10, QLatin1Char('0'))
                                                     .arg(i % 60, 2, 10, QLatin1Char('0')));
        open();
        QCOMPARE(archiveLines().count(), ArchivePanel::kOpeningCap);
        const QStringList lines = search(QStringLiteral("病"), QString());
        QCOMPARE(lines.size(), 130);
        QCOMPARE(lines.last(), QStringLiteral("病人129[2009-03-01 08:02:09]"));
    }

    void quotesAndWildcardsInTheBoxes()
    {
        add(QStringLiteral("O'Brien"), QStringLiteral("2009-03-02 09:00:00"));
        add(QStringLiteral("张三"), QStringLiteral("2009-03-03 09:00:00"));
        open();
        QCOMPARE(search(QStringLiteral("'"), QString()),
                 QStringList({"O'Brien[2009-03-02 09:00:00]"}));
        QCOMPARE(search(QStringLiteral("x' or '1'='1"), QString()), QStringList());
        QCOMPARE(search(QString(), QStringLiteral("2009'")), QStringList());
        QCOMPARE(archive().firstEntries(10).value().size(), 2);
    }

    void emptyNameListsTheKeyInBrackets()
    {
        const QString key = QStringLiteral("2009-03-25 18:08:43");
        add(QString(), key);
        open();
        QCOMPARE(search(QString(), QString()), QStringList({"[" + key + "]"}));
        QCOMPARE(ArchiveEntry::keyFromText(archiveLines().text(0)), key);
        field(0)->setText(QStringLiteral("旧名"));
        clickLine(0);
        QCOMPARE(field(0)->text(), QString());
        QCOMPARE(m_window->recordKey(), key);
    }

    void clickShowsTheRecordOfThatLine()
    {
        // Two sheets started within one second share the key; each line keeps its own record.
        const QString key = QStringLiteral("2009-03-25 18:08:43");
        add(QStringLiteral("甲"), key, QStringLiteral("男"), QStringLiteral("40"));
        add(QStringLiteral("乙"), key, QStringLiteral("女"), QStringLiteral("35"));
        open();
        QCOMPARE(archiveLines().count(), 2);
        clickLine(1);
        QCOMPARE(field(0)->text(), QStringLiteral("乙"));
        QCOMPARE(field(1)->text(), QStringLiteral("女"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label6_1"))->text(),
                 QStringLiteral("乙\uFF0C女\uFF0C35"));
        QCOMPARE(m_window->recordKey(), key);
        QVERIFY(m_window->sheet()->isVisible());
        QVERIFY(!m_window.find<QAction>(QStringLiteral("menuSave"))->isEnabled());
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::Viewing);
        clickLine(0);
        QCOMPARE(field(0)->text(), QStringLiteral("甲"));

        // A search does not touch the sheet.
        search(QStringLiteral("乙"), QString());
        QCOMPARE(field(0)->text(), QStringLiteral("甲"));
        clickLine(0);
        QCOMPARE(field(0)->text(), QStringLiteral("乙"));
    }

    void rightButtonNeitherShowsNorOpensOnAnEmptyList()
    {
        add(QStringLiteral("甲"), QStringLiteral("2009-03-25 18:08:43"));
        open();
        QMenu* mu = m_window.find<QMenu>(QStringLiteral("mu"));
        clickLine(0, Qt::RightButton);
        QVERIFY(mu->isVisible());
        mu->close();
        QVERIFY(!m_window->sheet()->isVisible()); // the right button shows no record

        QCOMPARE(search(QStringLiteral("无此人"), QString()), QStringList());
        QTest::mouseClick(archiveList()->viewport(), Qt::RightButton);
        QVERIFY(!mu->isVisible());
        // A click that selects no line does nothing either.
        QTest::mouseClick(archiveList()->viewport(), Qt::LeftButton);
        QVERIFY(!m_window->sheet()->isVisible());
    }

    // A day by keyboard alone: Enter in 患者姓名 searches; on a line, Return or Space shows its
    // record, Delete asks before deleting it and the menu key opens the list's menu.
    void archiveAnswersTheKeyboard()
    {
        add(QStringLiteral("甲"), QStringLiteral("2009-03-25 18:08:43"));
        add(QStringLiteral("乙"), QStringLiteral("2009-03-25 18:09:00"));
        open();
        UserInput::typeText(nameBox(), QStringLiteral("乙"));
        QTest::keyClick(nameBox(), Qt::Key_Return);
        QCOMPARE(archiveLines().texts(), QStringList{"乙[2009-03-25 18:09:00]"});
        nameBox()->clear();
        QTest::keyClick(nameBox(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(archiveLines().count(), 2);

        // Reached by Tab, the first line is the one the keys act on.
        QVERIFY(UserInput::focus(archiveList(), Qt::TabFocusReason));
        QTest::keyClick(archiveList(), Qt::Key_Return);
        QCOMPARE(field(0)->text(), QStringLiteral("甲"));
        QTest::keyClick(archiveList(), Qt::Key_Down);
        QTest::keyClick(archiveList(), Qt::Key_Space);
        QCOMPARE(field(0)->text(), QStringLiteral("乙"));
        {
            test::MessageBoxAnswer keep(QMessageBox::Cancel);
            QTest::keyClick(archiveList(), Qt::Key_Delete);
            QCOMPARE(keep.text(), QStringLiteral("确实要永久删除该病人档案吗？"));
        }
        QCOMPARE(archiveLines().count(), 2);
        {
            test::MessageBoxAnswer remove(QMessageBox::Ok);
            QTest::keyClick(archiveList(), Qt::Key_Delete);
            QVERIFY(remove.seen());
        }
        QCOMPARE(archiveLines().texts(), QStringList{"甲[2009-03-25 18:08:43]"});
        QMenu* mu = m_window.find<QMenu>(QStringLiteral("mu"));
        QTest::keyClick(archiveList(), Qt::Key_Menu);
        QVERIFY(mu->isVisible());
        mu->close();
    }

    void dateBoxClickFillsToday()
    {
        open();
        QTest::keyClicks(dateBox(), QStringLiteral("2008"));
        QTest::mouseClick(dateBox(), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(dateBox()->text(), QStringLiteral("2009-03-25"));
        QCOMPARE(dateBox()->cursorPosition(), 10);
        // Selected, so that a date typed next replaces today's.
        QTest::keyClicks(dateBox(), QStringLiteral("2009-03"));
        QCOMPARE(dateBox()->text(), QStringLiteral("2009-03"));
        // Every click does it again, and the date box is no target of the on-screen keyboard.
        dateBox()->setText(QStringLiteral("x"));
        QTest::mouseClick(dateBox(), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(dateBox()->text(), QStringLiteral("2009-03-25"));
        QVERIFY(m_window->focusMemory()->lastPlain() != dateBox());
        QTest::mouseClick(dateBox(), Qt::RightButton, {}, QPoint(4, 4));
        QCOMPARE(dateBox()->text(), QStringLiteral("2009-03-25"));
    }

    void nameBoxIsRememberedForTheKeyboard()
    {
        open();
        m_window->body()->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(nameBox(), Qt::LeftButton);
        QCOMPARE(m_window->focusMemory()->lastPlain(), nameBox());
        QVERIFY(!m_window->focusMemory()->richActive());
    }

    void searchButtonHasItsIcon()
    {
        open();
        auto* button = m_window.find<QPushButton>(QStringLiteral("Command2"));
        QCOMPARE(button->text(), QStringLiteral("查询"));
        QVERIFY(!button->icon().isNull());
    }

    void searchThatFailsIsToldAndLeavesTheListEmpty()
    {
        add(QStringLiteral("甲"), QStringLiteral("2009-03-25 18:08:43"));
        open();
        QCOMPARE(archiveLines().count(), 1);
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().archiveFile));
        // Never passes for "nothing found".
        test::MessageBoxAnswer answer(QMessageBox::Ok);
        QCOMPARE(search(QString(), QString()), QStringList());
        QVERIFY(answer.text().startsWith(QStringLiteral("档案查询失败")));
    }
};

QTEST_MAIN(TestArchiveSearch)
#include "TestArchiveSearch.moc"
