#include "core/startup/BackgroundWork.h"
#include "support/TestProgramFolder.h"
#include "ui/common/ChineseFaces.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/startup/LoginWindow.h"
#include "ui/startup/LoginWindowLayout.h"
#include "ui/startup/StartupProgress.h"
#include "ui/support/LayoutCheck.h"
#include "ui/support/MessageBoxAnswer.h"
#include "ui/support/WindowProbe.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace quilloa;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::TestProgramFolder;

class TestLoginWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    quilloa::test::WindowProbe<LoginWindow> m_window;

    void open(const QString& password) { QVERIFY(m_window.open(m_folder->context(), password)); }

    QLineEdit* passwordBox() const { return m_window.find<QLineEdit>(QStringLiteral("Text1")); }
    QPushButton* confirmButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("Command1"));
    }
    QPushButton* cancelButton() const
    {
        return m_window.find<QPushButton>(QStringLiteral("Command2"));
    }

    bool loggedIn() const
    {
        return !m_window->isVisible() && m_window->mainWindow() &&
               m_window->mainWindow()->isVisible();
    }

private slots:
    void init() { m_folder = std::make_unique<TestProgramFolder>(); }

    void cleanup()
    {
        m_window.reset();
        m_folder.reset();
    }

    void controlsAndCaptions()
    {
        open(QStringLiteral("abc"));
        QCOMPARE(m_window->objectName(), QStringLiteral("Form9"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("登录"));
        const QLabel* title = m_window.find<QLabel>(QStringLiteral("Label2"));
        QCOMPARE(title->text(), QStringLiteral("Quilloa"));
        QCOMPARE(title->font().families(), ChineseFaces::familiesFor(u"楷体_GB2312"));
        QCOMPARE(title->font().pointSize(), 18);
        QVERIFY(title->font().bold());
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("请输入登录密码："));
        QCOMPARE(confirmButton()->text(), QStringLiteral("确  定"));
        QCOMPARE(cancelButton()->text(), QStringLiteral("取  消"));
        QVERIFY(!m_window.find<QLabel>(QStringLiteral("Image1"))->pixmap().isNull());
        QVERIFY(!m_window.find<QLabel>(QStringLiteral("Image2"))->pixmap().isNull());
        QCOMPARE(QApplication::focusWidget(), passwordBox());
        const QStringList faults = test::LayoutCheck::all(m_window.get(), loginwindow::kPlacements);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

        QTest::keyClicks(passwordBox(), QStringLiteral("a b"));
        QCOMPARE(passwordBox()->displayText(), QStringLiteral("***"));
        QCOMPARE(passwordBox()->text(), QStringLiteral("a b"));

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(m_window->x(), screen.x() + (screen.width() - m_window->width()) / 2);
        QCOMPARE(m_window->y(), screen.y() + (screen.height() - m_window->height()) / 2);
    }

    void mixedCaseAndBlanksAreAccepted()
    {
        open(QStringLiteral("AbC9"));
        QTest::keyClicks(passwordBox(), QStringLiteral("  aBc9 "));
        QTest::mouseClick(confirmButton(), Qt::LeftButton);
        QVERIFY(loggedIn());
        QCOMPARE(m_window->mainWindow()->objectName(), QStringLiteral("Form1"));
    }

    void wrongThenRight()
    {
        open(QStringLiteral("abc"));
        QTest::keyClicks(passwordBox(), QStringLiteral("abd"));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            QTest::mouseClick(confirmButton(), Qt::LeftButton);
            QVERIFY(answer.seen());
            QCOMPARE(answer.text(), QStringLiteral("密码错误！"));
            QCOMPARE(answer.title(), QStringLiteral("Quilloa"));
            QCOMPARE(answer.buttons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QVERIFY(m_window->isVisible());
        QVERIFY(!m_window->mainWindow());
        QCOMPARE(passwordBox()->text(), QStringLiteral("abd"));

        passwordBox()->setText(QStringLiteral("ABC"));
        QTest::mouseClick(confirmButton(), Qt::LeftButton);
        QVERIFY(loggedIn());
    }

    void enterConfirmsWithoutTypingIt()
    {
        open(QStringLiteral("abc"));
        QTest::keyClicks(passwordBox(), QStringLiteral("x"));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            QTest::keyClick(passwordBox(), Qt::Key_Return);
            QVERIFY(answer.seen());
        }
        QCOMPARE(passwordBox()->text(), QStringLiteral("x"));
        passwordBox()->setText(QStringLiteral("abc"));
        QTest::keyClick(passwordBox(), Qt::Key_Enter);
        QVERIFY(loggedIn());
    }

    // A backup day's copy still going at login is shown on, in the main window.
    void backupProgressFollowsIntoTheMainWindow()
    {
        open(QStringLiteral("abc"));
        std::atomic<bool> released{false};
        const auto release = qScopeGuard([&released] { released = true; });
        auto* work = new BackgroundWork(
            [&released](const BackgroundWork::StepTeller& step) {
                step(QStringLiteral("正在备份"));
                while (!released)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                return QStringList();
            },
            m_window.get());
        new StartupProgress(work, m_window.get());
        work->start();
        QTest::qWait(StartupProgress::kShowAfterMs + 100);
        QTest::keyClicks(passwordBox(), QStringLiteral("abc"));
        QTest::mouseClick(confirmButton(), Qt::LeftButton);
        QVERIFY(loggedIn());
        QTRY_VERIFY(m_window->mainWindow()->findChild<QFrame*>(QStringLiteral("startupProgress")) &&
                    m_window->mainWindow()
                        ->findChild<QFrame*>(QStringLiteral("startupProgress"))
                        ->isVisible());
        released = true;
        QVERIFY(work->wait(10000));
    }

    void emptyBoxIsRefused()
    {
        open(QStringLiteral("abc"));
        MessageBoxAnswer answer(QMessageBox::Ok);
        QTest::mouseClick(confirmButton(), Qt::LeftButton);
        QVERIFY(answer.seen());
        QVERIFY(m_window->isVisible());
        QVERIFY(!m_window->mainWindow());
    }

    void cancelAndCloseEndTheLogin()
    {
        open(QStringLiteral("abc"));
        QTest::mouseClick(cancelButton(), Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!m_window->mainWindow());

        open(QStringLiteral("abc"));
        QVERIFY(m_window->close());
        QVERIFY(!m_window->isVisible());
        QVERIFY(!m_window->mainWindow());
    }
};

QTEST_MAIN(TestLoginWindow)
#include "TestLoginWindow.moc"
