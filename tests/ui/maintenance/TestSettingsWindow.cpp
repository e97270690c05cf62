#include "core/settings/IdleLockSetting.h"
#include "core/startup/LoginCheck.h"
#include "core/startup/PasswordHash.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "core/store/StoreConnection.h"
#include "support/StoreFaults.h"
#include "support/TestProgramFolder.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/maintenance/SettingsWindow.h"
#include "ui/maintenance/SettingsWindowLayout.h"
#include "ui/support/LayoutCheck.h"
#include "ui/support/MessageBoxAnswer.h"
#include "ui/support/UserInput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOption>
#include <QSysInfo>
#include <QTest>

#include <memory>

using namespace quilloa;
using quilloa::test::DamagedStore;
using quilloa::test::LayoutCheck;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::TestProgramFolder;
using quilloa::test::UserInput;

class TestSettingsWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<QWidget> m_owner;
    SettingsHolder* m_holder = nullptr;

    SettingsStore settings() const { return SettingsStore(m_folder->paths().settingsFile); }
    ArchiveStore archive() const { return ArchiveStore(m_folder->paths().archiveFile); }

    SettingsRecord sample() const
    {
        SettingsRecord r;
        r.clinicName = QStringLiteral("城东卫生院");
        r.doctor = QStringLiteral("李医生");
        r.dispenser = QStringLiteral("王芳");
        r.leftMargin = QStringLiteral("10");
        r.topMargin = QStringLiteral("20");
        r.cardLeftMargin = QStringLiteral("5");
        r.cardTopMargin = QStringLiteral("6");
        return r;
    }

    QLineEdit* box(int number) const
    {
        return m_holder->window()->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(number));
    }

    static void discardClosedWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        QVERIFY(settings().setSettings(sample()).ok());
        QVERIFY(archive().setLoginPassword(QStringLiteral("secret")).ok());
        m_owner = std::make_unique<QWidget>();
        m_holder = new SettingsHolder(m_folder->context(), m_owner.get());
    }

    void cleanup()
    {
        m_owner.reset();
        m_folder.reset();
    }

    void loadingFillsEveryBox()
    {
        m_holder->show();
        SettingsWindow* window = m_holder->window();
        QCOMPARE(window->objectName(), QStringLiteral("Form5"));
        QCOMPARE(window->windowTitle(), QStringLiteral("基本设置"));
        // The stored password is never shown, only that one is set.
        const QStringList expected = {"城东卫生院", "李医生", "王芳", "10", "20", "5", "6", ""};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(box(i + 1)->text(), expected.at(i));
        QCOMPARE(box(8)->placeholderText(), QStringLiteral("已设置"));
        QVERIFY(window->clearPasswordBox()->isEnabled());
        QCOMPARE(window->idleLockBox()->text(), QStringLiteral("不锁定"));
        QCOMPARE(window->findChild<QGroupBox*>(QStringLiteral("Frame2"))->title(),
                 QStringLiteral("打印设置(单位：毫米)"));
        QCOMPARE(window->confirmButton()->text(), QStringLiteral("确 定"));
        QCOMPARE(window->size(), QSize(316, 263));
        QCOMPARE(window->focusWidget(), box(1));
        const QStringList faults = LayoutCheck::all(window, settingswindow::kPlacements);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        // The captions and boxes sit in their frames; the button on the window itself.
        QCOMPARE(box(8)->parentWidget()->objectName(), QStringLiteral("Frame1"));
        QCOMPARE(box(7)->parentWidget()->objectName(), QStringLiteral("Frame2"));
        QCOMPARE(window->confirmButton()->parentWidget(), window);
        // Which store the settings belong to, as plain text: here the files of the data folder.
        const auto* where = window->findChild<QLabel*>(QStringLiteral("storeInUse"));
        QVERIFY(where);
        QCOMPARE(where->textFormat(), Qt::PlainText);
        QCOMPARE(where->toolTip(),
                 QStringLiteral("数据存放：本机文件 ") + m_folder->paths().dataFolder);
        QVERIFY(where->heightForWidth(where->width()) <= where->height());
    }

    // A deep data folder is shortened in its middle to the row's two lines, never cut at the
    // row's top and bottom; the tooltip keeps it whole.
    void aDeepDataFolderIsShortenedToItsRow()
    {
        const QString deep =
            m_folder->path() + QStringLiteral("/诊所资料/二零二六年/备用数据/第一台电脑");
        QVERIFY(QDir().mkpath(deep));
        // The temporary folder is TMPDIR on Linux and TMP on Windows.
        const char* const variable =
            QSysInfo::productType() == QLatin1String("windows") ? "TMP" : "TMPDIR";
        const QByteArray tmp = qgetenv(variable);
        qputenv(variable, QFile::encodeName(QDir::toNativeSeparators(deep)));
        TestProgramFolder deepFolder;
        tmp.isNull() ? qunsetenv(variable) : qputenv(variable, tmp);
        QWidget owner;
        SettingsHolder holder(deepFolder.context(), &owner);
        holder.show();
        const auto* where = holder.window()->findChild<QLabel*>(QStringLiteral("storeInUse"));
        const QString whole = QStringLiteral("数据存放：本机文件 ") + deepFolder.paths().dataFolder;
        QCOMPARE(where->toolTip(), whole);
        QVERIFY(where->text() != whole);
        QVERIFY(where->text().endsWith(QStringLiteral("数据库")));
        QVERIFY(where->heightForWidth(where->width()) <= where->height());
    }

    void marginsKeepTheirDefaultsWhenNothingCanBeRead()
    {
        TestProgramFolder empty(TestProgramFolder::Stores::None);
        ClinicSettings held(empty.context().settings(), empty.context().archive());
        SettingsWindow window(&held);
        const QStringList expected = {"", "", "", "120", "200", "120", "200", ""};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(i + 1))->text(),
                     expected.at(i));
    }

    void confirmStoresEveryBoxAsTypedAndCloses()
    {
        m_holder->show();
        const QStringList typed = {" 城西诊所 ", "张医生", "", "12.5", "abc", "0", "7", ""};
        for (int i = 0; i < typed.size(); ++i)
            box(i + 1)->setText(typed.at(i));
        m_holder->window()->clearPasswordBox()->setChecked(true);
        QVERIFY(!box(8)->isEnabled());
        QTest::mouseClick(m_holder->window()->confirmButton(), Qt::LeftButton);
        QVERIFY(!m_holder->isLoaded());

        const SettingsRecord stored = settings().settings().value();
        QCOMPARE(stored.clinicName, QStringLiteral(" 城西诊所 "));
        QCOMPARE(stored.doctor, QStringLiteral("张医生"));
        QCOMPARE(stored.dispenser, QString());
        QCOMPARE(stored.leftMargin, QStringLiteral("12.5"));
        QCOMPARE(stored.topMargin, QStringLiteral("abc"));
        QCOMPARE(stored.cardLeftMargin, QStringLiteral("0"));
        QCOMPARE(stored.cardTopMargin, QStringLiteral("7"));
        QCOMPARE(archive().loginPassword().value(), QString());
        discardClosedWindows();
        QVERIFY(m_owner->findChildren<SettingsWindow*>().isEmpty());
    }

    // A typed password is stored as its hash only; an untouched box keeps it; the idle lock's
    // minutes are kept for this computer.
    void newPasswordIsStoredAsItsHash()
    {
        m_holder->show();
        box(8)->setText(QStringLiteral(" NewPw "));
        m_holder->window()->idleLockBox()->setValue(10);
        QVERIFY(m_holder->window()->store());
        const QString stored = archive().loginPassword().value();
        QVERIFY(PasswordHash::isHash(stored));
        QVERIFY(!stored.contains(QStringLiteral("newpw"), Qt::CaseInsensitive));
        QVERIFY(LoginCheck::accepts(QStringLiteral("NEWPW"), stored));
        QCOMPARE(box(8)->text(), QString());
        QCOMPARE(box(8)->placeholderText(), QStringLiteral("已设置"));
        QCOMPARE(IdleLockSetting(m_folder->paths().dataFolder).minutes(), 10);
        box(2)->setText(QStringLiteral("赵医生"));
        QVERIFY(m_holder->window()->store());
        QCOMPARE(archive().loginPassword().value(), stored);
    }

    void titleBarCloseStoresNothing()
    {
        m_holder->show();
        box(2)->setText(QStringLiteral("张医生"));
        box(8)->setText(QStringLiteral("new"));
        m_holder->window()->close();
        QVERIFY(!m_holder->isLoaded());
        QCOMPARE(settings().settings().value().doctor, QStringLiteral("李医生"));
        QCOMPARE(archive().loginPassword().value(), QStringLiteral("secret"));
        // The next reader loads the stored values again.
        QCOMPARE(m_holder->doctor(), QStringLiteral("李医生"));
    }

    // Escape and the close box ask before typed changes are dropped; Enter stores only from a
    // focused "确 定", never from a box.
    void typedChangesAreAskedForAndEnterConfirms()
    {
        m_holder->show();
        SettingsWindow* window = m_holder->window();
        QVERIFY(QTest::qWaitForWindowActive(window));
        // The first box holds the focus from the start, its text chosen as a dialog's first box
        // is, so the first keys typed go into it.
        QCOMPARE(QApplication::focusWidget(), box(1));
        QCOMPARE(box(1)->selectedText(), box(1)->text());
        box(2)->selectAll();
        UserInput::typeText(box(2), QStringLiteral("张医生"));
        {
            MessageBoxAnswer keep(QMessageBox::No, 2);
            QTest::keyClick(box(2), Qt::Key_Escape);
            QVERIFY(!UserInput::clickCloseBox(window));
            QCOMPARE(keep.texts().size(), 2);
        }
        QVERIFY(window->isVisible());
        QTest::keyClick(box(2), Qt::Key_Return);
        QVERIFY(window->isVisible());
        QCOMPARE(settings().settings().value().doctor, QStringLiteral("李医生"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY(UserInput::focus(window->confirmButton(), Qt::TabFocusReason));
        QTest::keyClick(window->confirmButton(), Qt::Key_Return);
        QVERIFY(!m_holder->isLoaded());
        QCOMPARE(settings().settings().value().doctor, QStringLiteral("张医生"));

        discardClosedWindows();
        m_holder->show();
        QVERIFY(QTest::qWaitForWindowActive(m_holder->window()));
        box(3)->selectAll();
        UserInput::typeText(box(3), QStringLiteral("赵"));
        MessageBoxAnswer drop(QMessageBox::Yes);
        QTest::keyClick(box(3), Qt::Key_Escape);
        QVERIFY(drop.seen());
        QVERIFY(!m_holder->isLoaded());
        QCOMPARE(settings().settings().value().dispenser, QStringLiteral("王芳"));
    }

    void readingLoadsInvisiblyAndKeepsTheWindow()
    {
        QVERIFY(!m_holder->isLoaded());
        QCOMPARE(m_holder->clinicName(), QStringLiteral("城东卫生院"));
        QCOMPARE(m_holder->dispenser(), QStringLiteral("王芳"));
        QVERIFY(m_holder->isLoaded());
        QVERIFY(!m_holder->window()->isVisible());

        // Read as the store stands: a change made elsewhere is seen at the next read.
        SettingsRecord changed = sample();
        changed.doctor = QStringLiteral("赵医生");
        QVERIFY(settings().setSettings(changed).ok());
        QCOMPARE(m_holder->doctor(), QStringLiteral("赵医生"));

        SettingsWindow* loaded = m_holder->window();
        box(2)->setText(QStringLiteral("孙医生"));
        m_holder->show();
        QCOMPARE(m_holder->window(), loaded);
        QCOMPARE(box(2)->text(), QStringLiteral("孙医生"));
        const auto reader = m_holder->doctorReader();
        QCOMPARE(reader(), QStringLiteral("孙医生"));
    }

    void storeThatFailsKeepsTheWindowOpen()
    {
        m_holder->show();
        box(2)->setText(QStringLiteral("一个名字太长的医生先生"));
        box(1)->setText(QStringLiteral("新名称"));
        MessageBoxAnswer answer(QMessageBox::Ok);
        QTest::mouseClick(m_holder->window()->confirmButton(), Qt::LeftButton);
        QVERIFY(answer.seen());
        QVERIFY(answer.text().contains(QStringLiteral("基本设置未能保存")));
        QVERIFY(m_holder->isLoaded());
        QVERIFY(m_holder->window()->isVisible());
        QCOMPARE(box(2)->text(), QStringLiteral("一个名字太长的医生先生"));
        QCOMPARE(settings().settings().value().clinicName, QStringLiteral("城东卫生院"));
    }

    // Another room changed the doctor while this window had it open: 确 定 names both values,
    // and "保留我的" writes this room's while the other room's clinic name stays.
    void aValueChangedElsewhereIsAskedAbout()
    {
        m_holder->show();
        box(2)->setText(QStringLiteral("孙医生"));
        SettingsRecord elsewhere = sample();
        elsewhere.doctor = QStringLiteral("赵医生");
        elsewhere.clinicName = QStringLiteral("城西诊所");
        QVERIFY(settings().setSettings(elsewhere).ok());
        MessageBoxAnswer keepMine(QMessageBox::Yes);
        QTest::mouseClick(m_holder->window()->confirmButton(), Qt::LeftButton);
        QVERIFY(keepMine.text().contains(QStringLiteral("“赵医生”")));
        QVERIFY(keepMine.text().contains(QStringLiteral("“孙医生”")));
        const SettingsRecord stored = settings().settings().value();
        QCOMPARE(stored.doctor, QStringLiteral("孙医生"));
        QCOMPARE(stored.clinicName, QStringLiteral("城西诊所"));
    }

    void missingArchiveIsReportedForThePassword()
    {
        m_holder->show();
        StoreConnection::closeAll();
        QVERIFY(QFile::remove(m_folder->paths().archiveFile));
        box(8)->setText(QStringLiteral("new")); // an untouched box writes nothing
        MessageBoxAnswer answer(QMessageBox::Ok);
        QTest::mouseClick(m_holder->window()->confirmButton(), Qt::LeftButton);
        QVERIFY(answer.text().contains(QStringLiteral("密码未能保存")));
        QVERIFY(m_holder->window()->isVisible());
    }

    // Settings that could not be read are never written back as if they were the stored ones:
    // the window says so, "确 定" reads them again first and keeps what the user typed.
    void unreadableSettingsAreNeverWrittenOver()
    {
        {
            DamagedStore damaged(m_folder->paths().settingsFile);
            MessageBoxAnswer told(QMessageBox::Ok);
            m_holder->show();
            QTRY_VERIFY(told.seen());
            QVERIFY(told.text().contains(QStringLiteral("设置无法读取")));
            QCOMPARE(box(1)->text(), QString());
            QCOMPARE(box(4)->text(), QStringLiteral("120"));

            QTest::keyClicks(box(3), QStringLiteral("Wang"));
            MessageBoxAnswer refused(QMessageBox::Ok);
            QTest::mouseClick(m_holder->window()->confirmButton(), Qt::LeftButton);
            QVERIFY(refused.text().contains(QStringLiteral("未作保存")));
            QVERIFY(m_holder->window()->isVisible());
        }
        QVERIFY(m_holder->window()->store());
        const SettingsRecord stored = settings().settings().value();
        QCOMPARE(stored.clinicName, QStringLiteral("城东卫生院"));
        QCOMPARE(stored.doctor, QStringLiteral("李医生"));
        QCOMPARE(stored.dispenser, QStringLiteral("Wang"));
        QCOMPARE(stored.leftMargin, QStringLiteral("10"));
        QCOMPARE(archive().loginPassword().value(), QStringLiteral("secret"));
    }

    // The invisible holder reads again at the next use instead of keeping blanks.
    void holderReadsAgainAfterAFailedLoad()
    {
        {
            DamagedStore damaged(m_folder->paths().settingsFile);
            QCOMPARE(m_holder->doctor(), QString());
            QVERIFY(!m_holder->readStatus().ok());
        }
        QCOMPARE(m_holder->doctor(), QStringLiteral("李医生"));
        QCOMPARE(m_holder->clinicName(), QStringLiteral("城东卫生院"));
    }

    void passwordTakesFifteenCharacters()
    {
        m_holder->show();
        box(8)->clear();
        box(8)->setFocus();
        QTest::keyClicks(box(8), QStringLiteral("abcdefghijklmnopqrst"));
        QCOMPARE(box(8)->text(), QStringLiteral("abcdefghijklmno"));
        // Hidden from whoever looks over the doctor's shoulder, shown only on purpose.
        QCOMPARE(box(8)->echoMode(), QLineEdit::Password);
        auto* reveal = box(8)->findChild<QAction*>(QStringLiteral("revealPassword"));
        QVERIFY(reveal);
        reveal->trigger();
        QCOMPARE(box(8)->echoMode(), QLineEdit::Normal);
        reveal->trigger();
        QCOMPARE(box(8)->echoMode(), QLineEdit::Password);
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "TestSettingsWindow.moc"
