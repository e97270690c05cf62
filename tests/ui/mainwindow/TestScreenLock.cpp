#include "core/settings/IdleLockSetting.h"
#include "core/startup/PasswordHash.h"
#include "core/store/ArchiveStore.h"
#include "support/TestProgramFolder.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/maintenance/SettingsWindow.h"
#include "ui/mainwindow/IdleWatch.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/ScreenLock.h"
#include "ui/support/MessageBoxAnswer.h"
#include "ui/support/UserInput.h"
#include "ui/support/WindowFixture.h"
#include "ui/support/WindowProbe.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace quilloa;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

class TestScreenLock : public QObject, quilloa::test::MainWindowFixture
{
    Q_OBJECT

    ScreenLock* lock() const { return m_window->screenLock(); }
    void idleFor(int minutes)
    {
        const QDateTime now = m_folder->clock()->now();
        m_window->idleWatch()->restart();
        m_folder->clock()->set(now.addSecs(minutes * 60));
        m_window->idleWatch()->check();
    }

private slots:
    void init()
    {
        makeFolder();
        QVERIFY(IdleLockSetting(m_folder->paths().dataFolder).setMinutes(5).ok());
    }

    void cleanup() { dropWindowAndFolder(); }

    // Away from the desk: the window covers the half-typed sheet and hides the other windows
    // until the login password is given again; then everything is as it was left.
    void idleLockKeepsTheTypedSheet()
    {
        const QString hash = PasswordHash::make(QStringLiteral("Abc9"));
        QVERIFY(ArchiveStore(m_folder->paths().archiveFile).setLoginPassword(hash).ok());
        QVERIFY(m_window.open(m_folder->context()));
        m_window->newPrescription();
        UserInput::typeText(field(0), QStringLiteral("张三"));
        // Copied from the sheet: no other program reads it while the window is locked.
        field(0)->selectAll();
        field(0)->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("张三"));
        m_window->settingsHolder()->show();
        SettingsWindow* other = m_window->settingsHolder()->window();
        QVERIFY(other->isVisible());

        idleFor(4);
        QVERIFY(!lock()->isLocked());
        idleFor(5);
        QVERIFY(lock()->isLocked());
        QVERIFY(lock()->isVisible());
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        QCOMPARE(lock()->geometry(), m_window->rect());
        QVERIFY(!other->isVisible());
        QVERIFY(!field(0)->isEnabled());
        // No menu command reaches the sheet underneath ("新建" would clear it).
        QTest::keyClick(lock()->passwordBox(), Qt::Key_N, Qt::ControlModifier);

        UserInput::typeText(lock()->passwordBox(), QStringLiteral("abd9"));
        UserInput::click(lock()->unlockButton());
        QVERIFY(lock()->isLocked());
        QCOMPARE(m_window.find<QLabel>(QStringLiteral("lockMessage"))->text(),
                 QStringLiteral("密码错误！"));
        lock()->passwordBox()->setText(QStringLiteral(" ABC9 "));
        QTest::keyClick(lock()->passwordBox(), Qt::Key_Return);
        QVERIFY(!lock()->isLocked());
        QVERIFY(!lock()->isVisible());
        QVERIFY(other->isVisible());
        QCOMPARE(field(0)->text(), QStringLiteral("张三"));
        QCOMPARE(m_window->sheetState(), MainWindow::SheetState::NewSheet);
        QVERIFY(field(0)->isEnabled());
    }

    // Without a login password there is nothing to ask for: idling never locks, and "锁定" says
    // what to set first.
    void noPasswordNoLock()
    {
        QVERIFY(m_window.open(m_folder->context()));
        idleFor(60);
        QVERIFY(!lock()->isLocked());
        MessageBoxAnswer told(QMessageBox::Ok);
        m_window.find<QAction>(QStringLiteral("menuLock"))->trigger();
        QVERIFY(told.text().contains(QStringLiteral("没有设置登录密码")));
        QVERIFY(!lock()->isLocked());
    }
};

QTEST_MAIN(TestScreenLock)
#include "TestScreenLock.moc"
