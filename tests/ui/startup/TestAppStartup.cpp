#include "mainwindow/MainWindow.h"
#include "startup/AppStartup.h"
#include "startup/LoginWindow.h"
#include "store/ArchiveStore.h"
#include "support/TestProgramFolder.h"

#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

class TestAppStartup : public QObject
{
    Q_OBJECT
private slots:
    void emptyFolderOpensMainWindow()
    {
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        std::unique_ptr<QWidget> window(AppStartup::start(folder.path(), folder.clock()));
        QVERIFY(qobject_cast<MainWindow*>(window.get()));
        QCOMPARE(window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Quilloa V2.0"));
        QVERIFY(window->isVisible());
        QVERIFY(QFileInfo::exists(folder.paths().archiveFile));
        QVERIFY(QFileInfo::exists(folder.paths().settingsFile));
    }

    void passwordOpensLoginWindow()
    {
        TestProgramFolder folder;
        ArchiveStore(folder.paths().archiveFile).setLoginPassword(QStringLiteral("abc"));
        std::unique_ptr<QWidget> window(AppStartup::start(folder.path(), folder.clock()));
        QVERIFY(qobject_cast<LoginWindow*>(window.get()));
        QCOMPARE(window->objectName(), QStringLiteral("Form9"));
    }
};

QTEST_MAIN(TestAppStartup)
#include "TestAppStartup.moc"
