#include "core/store/SettingsStore.h"
#include "support/SetUp.h"
#include "support/TestProgramFolder.h"
#include "ui/common/Twips.h"
#include "ui/entry/DrugPanel.h"
#include "ui/entry/EntryFocusMemory.h"
#include "ui/entry/KeyFace.h"
#include "ui/entry/KeyboardLayout.h"
#include "ui/entry/KeyboardPanel.h"
#include "ui/entry/UsageKeyBar.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/startup/FontSetup.h"
#include "ui/support/UserInput.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

#include <memory>

using namespace quilloa;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

class TestOnScreenKeyboard : public QObject, quilloa::test::MainWindowFixture
{
    Q_OBJECT

    QLineEdit* searchBox() const { return m_window.find<QLineEdit>(QStringLiteral("Text1")); }
    QTextEdit* body() const { return m_window.find<QTextEdit>(QStringLiteral("R1")); }

    // Clicks the caption of a character key, as the doctor does.
    void clickKey(QChar character) const
    {
        const int index = QStringLiteral("1234567890abcdefghijklmnopqrstuvwxyz").indexOf(character);
        QTest::mouseClick(m_window.find<QLabel>(QStringLiteral("Label11_%1").arg(index)),
                          Qt::LeftButton);
    }
    void clickUsageKey(int index) const
    {
        QTest::mouseClick(m_window.find<QLabel>(QStringLiteral("Label5_%1").arg(index)),
                          Qt::LeftButton);
    }

    static QRect pixels(const keyboard::TwipRect& r)
    {
        return twipsRect(r.left, r.top, r.width, r.height);
    }
    // Where the usage key table puts the key of that Label5 index.
    static QPoint usageKeyCorner(int index)
    {
        for (const keyboard::UsageKey& key : keyboard::kUsageKeys)
            if (key.index == index)
                return twipsRect(key.left, keyboard::kUsageKeyTop, 0, 0).topLeft();
        qFatal("no usage key %d", index);
    }

    // The caption's own pixels: the key drawn with it, less the key drawn without it.
    static QRect captionInk(QWidget* key)
    {
        auto* caption = key->findChild<QLabel*>();
        const QImage with = key->grab().toImage();
        caption->hide();
        const QImage without = key->grab().toImage();
        caption->show();
        QRect ink;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y))
                    ink |= QRect(x, y, 1, 1);
        return ink;
    }

private slots:
    // The faces the program itself installs for 宋体, whose line box is taller than the keys.
    void initTestCase() { FontSetup::install(); }

    void init()
    {
        makeFolder();
        SettingsStore store = m_folder->context().settings();
        test::setUp(store.add(ReferenceList::Drugs, QStringLiteral("阿莫西林/0.5 tid"),
                              QStringLiteral("amxl")));
        test::setUp(
            store.add(ReferenceList::Drugs, QStringLiteral("维生素C"), QStringLiteral("wssc")));
        QVERIFY(m_window.open(m_folder->context()));
        m_window->newPrescription();
    }

    void cleanup() { dropWindowAndFolder(); }

    void panelLayout()
    {
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label12_0"))->text(),
                 QStringLiteral("软键盘输入"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label9"))->palette().color(QPalette::Window),
                 QColor(0, 192, 192));
        auto* key = m_window.find<KeyFace>(QStringLiteral("Picture7_29"));
        QLabel* caption = m_window.find<QLabel>(QStringLiteral("Label11_29"));
        QCOMPARE(caption->parentWidget(), key);
        QCOMPARE(caption->text(), QStringLiteral("t"));
        QCOMPARE(caption->font().pointSizeF(), 10.5);
        QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(0, 128, 128));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label11_0"))->text(), QStringLiteral("1"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label11_35"))->text(), QStringLiteral("z"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label20"))->text(), QStringLiteral(" ←-"));
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label14"))->text(),
                 QStringLiteral(" Enter"));
        // Every key stands where the keyboard table puts it, inside the panel, clear of the others.
        QList<std::pair<QWidget*, QRect>> keys;
        for (int i = 0; i < keyboard::kCharacterKeyCount; ++i)
            keys.append({m_window.find<KeyFace>(QStringLiteral("Picture7_%1").arg(i)),
                         pixels(keyboard::characterKeyRect(i))});
        keys.append({m_window.find<QWidget>(QStringLiteral("Picture12")),
                     pixels(keyboard::kBackspaceRect)});
        keys.append(
            {m_window.find<QWidget>(QStringLiteral("Picture14")), pixels(keyboard::kEnterRect)});
        const QWidget* keyboardPanel = m_window.find<QWidget>(QStringLiteral("Picture6"));
        for (const auto& [face, place] : keys) {
            QCOMPARE(face->geometry(), place);
            QVERIFY2(keyboardPanel->rect().contains(place), qPrintable(face->objectName()));
            for (const auto& [other, otherPlace] : keys)
                QVERIFY2(other == face || !place.intersects(otherPlace),
                         qPrintable(face->objectName() + QLatin1Char(' ') + other->objectName()));
        }
        // Nothing on the panel or the usage bar can take the focus.
        for (const char* holder : {"Picture6", "Picture3"}) {
            QWidget* panel = m_window.find<QWidget>(QLatin1String(holder));
            QCOMPARE(panel->focusPolicy(), Qt::NoFocus);
            for (QWidget* child : panel->findChildren<QWidget*>())
                QVERIFY2(child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));
        }
    }

    // Descenders (g j p q y) and the long "Enter" stay inside their key faces, off the bevel.
    void captionsStayInsideTheirKeys()
    {
        QStringList keys{QStringLiteral("Picture12"), QStringLiteral("Picture14")};
        for (int i = 0; i < 36; ++i)
            keys << QStringLiteral("Picture7_%1").arg(i);
        for (const QString& name : keys) {
            auto* key = m_window.find<KeyFace>(name);
            const QRect ink = captionInk(key);
            QVERIFY2(!ink.isEmpty(), qPrintable(name));
            QVERIFY2(key->rect().adjusted(2, 1, -2, -1).contains(ink),
                     qPrintable(name + QStringLiteral(" ink at %1,%2 %3x%4")
                                           .arg(ink.x())
                                           .arg(ink.y())
                                           .arg(ink.width())
                                           .arg(ink.height())));
        }
    }

    void usageKeysStandOnTheBar()
    {
        QLabel* mg = m_window.find<QLabel>(QStringLiteral("Label5_9"));
        QCOMPARE(mg->text(), QStringLiteral("mg"));
        QCOMPARE(mg->geometry().topLeft(), usageKeyCorner(9));
        QVERIFY(mg->width() >= 12 && mg->height() >= 12);
        QVERIFY(mg->width() >= mg->fontMetrics().horizontalAdvance(mg->text()));
        QCOMPARE(mg->cursor().shape(), Qt::PointingHandCursor);
        QLabel* injection = m_window.find<QLabel>(QStringLiteral("Label5_13"));
        QCOMPARE(injection->text(), QStringLiteral("    用法：肌肉注射 st"));
        QCOMPARE(injection->geometry().topLeft(), usageKeyCorner(13));
        QVERIFY(injection->width() >= 126);
        QCOMPARE(m_window->usageKeyBar()->findChildren<QLabel*>().size(), 20);
        QVERIFY(!m_window->usageKeyBar()->key(17)); // the drug search box's caption
        // Where "×" lies on the blank start of "    用法：", the pointer finds "×".
        QLabel* times = m_window.find<QLabel>(QStringLiteral("Label5_16"));
        QCOMPARE(m_window->usageKeyBar()->childAt(times->geometry().center()), times);
    }

    void keysTypeIntoTheLastPlainField()
    {
        QLineEdit* name = field(0);
        QVERIFY(UserInput::focus(name));
        clickKey(u'z');
        clickKey(u's');
        QCOMPARE(name->text(), QStringLiteral("zs"));
        QCOMPARE(QApplication::focusWidget(), name);
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("Label6_1"))->text(),
                 QStringLiteral("zs\uFF0C\uFF0C"));
        // The selection is replaced, and the field's typing limit holds as for typed keys.
        name->setText(QStringLiteral("abcd"));
        name->setSelection(1, 2);
        clickKey(u'x');
        QCOMPARE(name->text(), QStringLiteral("axd"));
        clickKey(u'y');
        clickKey(u'9');
        QCOMPARE(name->text(), QStringLiteral("axyd"));
    }

    void keysFollowTheFieldsOwnRules()
    {
        QVERIFY(UserInput::focus(field(1)));
        clickKey(u'2');
        QCOMPARE(field(1)->text(), QStringLiteral("女"));
        // A field left for the desk still takes the keys and gets the focus back.
        QVERIFY(UserInput::focus(searchBox()));
        QTest::mouseClick(m_window->desk(), Qt::LeftButton, {}, QPoint(2, 2));
        clickKey(u'w');
        QCOMPARE(searchBox()->text(), QStringLiteral("w"));
        QCOMPARE(m_window->drugPanel()->drugList()->count(), 1);
        QCOMPARE(QApplication::focusWidget(), searchBox());
    }

    void keysTypeIntoTheBodyWhenItWasUsedLast()
    {
        QVERIFY(UserInput::focus(searchBox()));
        body()->setPlainText(QStringLiteral("ab"));
        QTest::mouseClick(body()->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(QApplication::focusWidget(), body());
        QVERIFY(m_window->focusMemory()->richActive());
        QTextCursor caret = body()->textCursor();
        caret.setPosition(1);
        body()->setTextCursor(caret);
        clickKey(u'q');
        QCOMPARE(body()->toPlainText(), QStringLiteral("aqb"));
        QCOMPARE(searchBox()->text(), QString());
        QCOMPARE(QApplication::focusWidget(), body());

        // The injection card body is a rich field as well.
        QTextEdit* card = m_window.find<QTextEdit>(QStringLiteral("R2"));
        QVERIFY(UserInput::focus(card));
        clickKey(u'7');
        QCOMPARE(card->toPlainText(), QStringLiteral("7"));
        QCOMPARE(body()->toPlainText(), QStringLiteral("aqb"));
    }

    void usageKeysInsertAtTheCaretThenReturnToTheSearchBox()
    {
        body()->setPlainText(QStringLiteral("阿莫西林\n"));
        body()->moveCursor(QTextCursor::End);
        clickUsageKey(4); // "bid"
        QCOMPARE(body()->toPlainText(), QStringLiteral("阿莫西林\nbid"));
        QCOMPARE(QApplication::focusWidget(), searchBox());
        clickUsageKey(0); // "    用法：iv/gtt qd"
        QCOMPARE(body()->toPlainText(), QStringLiteral("阿莫西林\nbid    用法：iv/gtt qd\n"));

        // Now the keyboard types a drug code into the search box, which refills the list.
        clickKey(u'a');
        clickKey(u'm');
        QCOMPARE(searchBox()->text(), QStringLiteral("am"));
        QCOMPARE(m_window->drugPanel()->drugList()->count(), 1);
        QCOMPARE(body()->toPlainText(), QStringLiteral("阿莫西林\nbid    用法：iv/gtt qd\n"));

        // A selection in the body is replaced.
        QTextCursor caret = body()->textCursor();
        caret.setPosition(5);
        caret.setPosition(8, QTextCursor::KeepAnchor);
        body()->setTextCursor(caret);
        clickUsageKey(3); // "tid"
        QCOMPARE(body()->toPlainText(), QStringLiteral("阿莫西林\ntid    用法：iv/gtt qd\n"));
        QCOMPARE(body()->textCursor().position(), 8);
    }

    void backspaceAndEnterGoToTheFocusedControl()
    {
        QLineEdit* address = field(5);
        QVERIFY(UserInput::focus(address));
        address->setText(QStringLiteral("城东区"));
        address->setCursorPosition(2);
        QTest::mouseClick(m_window.find<QLabel>(QStringLiteral("Label20")), Qt::LeftButton);
        QCOMPARE(address->text(), QStringLiteral("城区"));
        QCOMPARE(QApplication::focusWidget(), address);
        QTest::mouseClick(m_window.find<QLabel>(QStringLiteral("Label14")), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), searchBox());

        QVERIFY(UserInput::focus(body()));
        body()->setPlainText(QStringLiteral("ab"));
        body()->moveCursor(QTextCursor::End);
        QTest::mouseClick(m_window.find<QWidget>(QStringLiteral("Picture14")), Qt::LeftButton);
        QCOMPARE(body()->toPlainText(), QStringLiteral("ab\n"));
        QTest::mouseClick(m_window.find<QWidget>(QStringLiteral("Picture12")), Qt::LeftButton);
        QTest::mouseClick(m_window.find<QWidget>(QStringLiteral("Picture12")), Qt::LeftButton);
        QCOMPARE(body()->toPlainText(), QStringLiteral("a"));
        QCOMPARE(QApplication::focusWidget(), body());
    }

    void keyShowsItsPressedFaceWhileHeld()
    {
        auto* key = m_window.find<KeyFace>(QStringLiteral("Picture7_10"));
        const QImage released = key->pixmap().toImage();
        QVERIFY(UserInput::focus(field(0)));
        QTest::mousePress(m_window.find<QLabel>(QStringLiteral("Label11_10")), Qt::RightButton);
        QVERIFY(key->isPressed());
        QVERIFY(key->pixmap().toImage() != released);
        QCOMPARE(field(0)->text(), QString()); // typed on release, not on press
        QTest::mouseRelease(m_window.find<QLabel>(QStringLiteral("Label11_10")), Qt::RightButton);
        QVERIFY(!key->isPressed());
        QCOMPARE(key->pixmap().toImage(), released);
        QCOMPARE(field(0)->text(), QStringLiteral("a"));

        auto* enter = m_window.find<KeyFace>(QStringLiteral("Picture14"));
        QTest::mousePress(enter, Qt::LeftButton);
        QVERIFY(enter->isPressed());
        QCOMPARE(enter->pixmap().size(), QSize(44, 16));
        QTest::mouseRelease(enter, Qt::LeftButton);
        QVERIFY(!enter->isPressed());
    }

    // Before any entry field had the focus the keys have no target.
    void noTargetBeforeAnyFocus()
    {
        QWidget holder;
        auto* layout = new QVBoxLayout(&holder);
        auto* other = new QLineEdit(&holder);
        EntryFocusMemory memory;
        auto* panel = new KeyboardPanel(&memory, &holder);
        layout->addWidget(other);
        layout->addWidget(panel);
        holder.show();
        QVERIFY(QTest::qWaitForWindowActive(&holder));
        other->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(panel->characterKey(10), Qt::LeftButton);
        QCOMPARE(other->text(), QString());
        QCOMPARE(QApplication::focusWidget(), other);

        // A field that is gone is no target either.
        auto* field = new QLineEdit(&holder);
        memory.recordPlain(field);
        delete field;
        QTest::mouseClick(panel->characterKey(11), Qt::LeftButton);
        QCOMPARE(other->text(), QString());

        // With no focus anywhere, Backspace and Enter go nowhere.
        holder.hide();
        QVERIFY(!QApplication::focusWidget());
        QTest::mouseClick(panel->backspaceKey(), Qt::LeftButton);
        QTest::mouseClick(panel->enterKey(), Qt::LeftButton);
    }
};

QTEST_MAIN(TestOnScreenKeyboard)
#include "TestOnScreenKeyboard.moc"
