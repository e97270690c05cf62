#include "support/TestProgramFolder.h"
#include "ui/maintenance/BackupWindow.h"
#include "ui/maintenance/DrugWindow.h"
#include "ui/maintenance/ReferenceWindow.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/maintenance/SettingsWindow.h"
#include "ui/mainwindow/AboutWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/reports/ClinicLogWindow.h"
#include "ui/reports/StatisticsWindow.h"
#include "ui/reports/TakingsChartWindow.h"
#include "ui/support/WindowProbe.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

// Runs at 100 % on a 1366×768 screen, and again (see tests/CMakeLists.txt) at 125 % on it and
// at 150 % on a 1280×1024 screen, where fewer logical pixels are left than the windows were
// laid out for.
class TestScreenFit : public QObject
{
    Q_OBJECT

    TestProgramFolder m_folder;
    quilloa::test::WindowProbe<MainWindow> m_main;

    static bool scaled() { return QGuiApplication::primaryScreen()->devicePixelRatio() > 1; }

    static QString describe(const QRect& r)
    {
        return QStringLiteral("%1,%2 %3×%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }

    // The window's frame within the screen's available area, and every push button on it
    // reachable: inside the window, or inside a scroll area that can bring it into view.
    static void verifyOnScreen(QWidget* window)
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(area.contains(window->frameGeometry()),
                 qPrintable(window->objectName() + QStringLiteral(" at ") +
                            describe(window->frameGeometry()) + QStringLiteral(" on ") +
                            describe(area)));
        const QScrollArea* scroll = window->findChild<QScrollArea*>();
        for (const QPushButton* button : window->findChildren<QPushButton*>()) {
            const QRect inWindow(button->mapTo(window, QPoint(0, 0)), button->size());
            const bool reachable = window->rect().contains(inWindow) ||
                                   (scroll && scroll->widget()->isAncestorOf(button));
            QVERIFY2(reachable,
                     qPrintable(window->objectName() + QLatin1Char(' ') + button->objectName()));
        }
    }

private slots:
    void init() { QVERIFY(m_main.open(m_folder.context())); }
    void cleanup() { m_main.reset(); }

    // The main window's sheet keeps its laid-out size; only on a screen too small for it does
    // it scroll, and then every part of it can be scrolled into view.
    void mainWindowFitsAndKeepsItsSheet()
    {
        verifyOnScreen(m_main.get());
        QWidget* client = m_main->findChild<QWidget*>(QStringLiteral("client"));
        QCOMPARE(client->size(), QSize(1016, 686));
        auto* scroll = m_main->findChild<QScrollArea*>(QStringLiteral("clientScroll"));
        QCOMPARE(bool(scroll), scaled());
        if (!scroll) {
            QCOMPARE(m_main->centralWidget(), client);
            return;
        }
        QCOMPARE(scroll->widget(), client);
        QCOMPARE(scroll->verticalScrollBar()->maximum(),
                 client->height() - scroll->viewport()->height());
    }

    void everyWindowStaysOnTheScreen()
    {
        const AppContext& context = m_folder.context();
        MainWindow* owner = m_main.get();
        const QList<QWidget*> windows{
            new ClinicLogWindow(context, {}, owner),
            new StatisticsWindow(context, owner),
            new TakingsChartWindow(context, QStringLiteral("2009"), QStringLiteral("03"), owner),
            new DrugWindow(context, owner),
            new ReferenceWindow(context, ReferenceList::Diagnoses, owner),
            new ReferenceWindow(context, ReferenceList::Addresses, owner),
            owner->settingsHolder()->window(),
            new BackupWindow(context, owner),
            new AboutWindow(context.paths(), owner),
        };
        for (QWidget* window : windows) {
            verifyOnScreen(window);
            window->hide();
        }
    }
};

QTEST_MAIN(TestScreenFit)
#include "TestScreenFit.moc"
