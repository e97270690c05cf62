#include "core/store/ArchiveStore.h"
#include "core/store/StoreLocation.h"
#include "core/store/server/ServerSchema.h"
#include "support/ArchiveVisits.h"
#include "support/PostgresServer.h"
#include "support/TestProgramFolder.h"
#include "ui/maintenance/BackupWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/support/MessageBoxAnswer.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace quilloa;
using quilloa::test::addVisit;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::PostgresServer;
using quilloa::test::TestProgramFolder;

namespace {

int records(const TestProgramFolder& folder)
{
    return int(ArchiveStore(folder.paths().archiveFile).firstEntries(100).valueOr({}).size());
}

} // namespace

class TestBackupWindow : public QObject
{
    Q_OBJECT
private slots:
    void backUpListRestoreAskingOnce()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-03-20 08:00:00", "张三");
        BackupWindow window(folder.context());
        QVERIFY(window.copies().isEmpty());
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            QTest::mouseClick(window.findChild<QPushButton*>("BackupNowButton"), Qt::LeftButton);
            QVERIFY(answer.text().contains(QStringLiteral("已备份到")));
        }
        addVisit(folder, "2009-03-25 09:00:00", "李四");
        auto* table = window.findChild<QTableWidget*>("BackupList");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("2009-03-25"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("1"));
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("2009-03-20"));
        auto* restore = window.findChild<QPushButton*>("RestoreButton");
        QVERIFY(!restore->isEnabled());
        table->selectRow(0);
        QVERIFY(restore->isEnabled());

        QSignalSpy restored(&window, &BackupWindow::restored);
        {
            // "No" leaves everything as it was.
            MessageBoxAnswer answer(QMessageBox::No);
            QTest::mouseClick(restore, Qt::LeftButton);
            QVERIFY(answer.text().contains(QStringLiteral("恢复前")));
        }
        QCOMPARE(records(folder), 2);
        QCOMPARE(restored.count(), 0);
        {
            MessageBoxAnswer answer(QMessageBox::Yes, 2);
            QTest::mouseClick(restore, Qt::LeftButton);
            QCOMPARE(answer.texts().size(), 2);
            QVERIFY(answer.text().contains(QStringLiteral("已恢复")));
        }
        QCOMPARE(restored.count(), 1);
        QCOMPARE(records(folder), 1);
        QCOMPARE(table->rowCount(), 2); // the backup and the "恢复前" copy
        // The "恢复前" copy sorts first; the restored folder stays the selected one.
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(table->item(table->selectionModel()->selectedRows().at(0).row(), 0)->text(),
                 QStringLiteral("2009-03-25"));
    }

    // A copy kept on a USB drive is listed from there, restored, and the window then goes back
    // to the program's own backup folder, where the "恢复前" copy now stands.
    void aFolderChosenElsewhereListsAndRestoresItsCopies()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-03-20 08:00:00", "张三");
        const QString drive = folder.path() + QStringLiteral("/U盘");
        QVERIFY(QDir().mkpath(drive));
        QVERIFY(BackupRestore::backUpTo(folder.paths(), drive, folder.clock()->now()).ok);
        addVisit(folder, "2009-03-25 09:00:00", "李四");
        BackupWindow window(folder.context());
        QVERIFY(window.copies().isEmpty());
        window.showFolder(drive);
        QCOMPARE(window.copies().size(), 1);
        QVERIFY(window.copies()[0].sound);
        QVERIFY(window.restoreLine(0).ok);
        QCOMPARE(records(folder), 1);
        window.showFolder(QString());
        QCOMPARE(window.copies().size(), 1);
        QVERIFY(window.copies()[0].name.startsWith(QStringLiteral("恢复前")));
    }

    // On a server the window backs up the server and lists its copies, but a restore is refused
    // at once, without first asking to replace the data.
    void onAServerACopyIsNotPutBack()
    {
        QString why;
        if (PostgresServer::findServerBinaries(&why).isEmpty())
            QSKIP(qPrintable(why));
        PostgresServer server;
        QVERIFY2(server.start(), qPrintable(server.errorString()));
        const QString database = server.createDatabase();
        const StoreConnection store(StoreLocation::server(server.connectionText(database)).value());
        QVERIFY(ServerSchema::ensure(store, true).ok());
        TestProgramFolder folder(TestProgramFolder::Stores::None);
        BackupWindow window(AppContext(folder.path(), folder.clock(), store.location()));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            QTest::mouseClick(window.findChild<QPushButton*>("BackupNowButton"), Qt::LeftButton);
            QVERIFY2(answer.text().contains(QStringLiteral("数据库服务器")),
                     qPrintable(answer.text()));
        }
        auto* table = window.findChild<QTableWidget*>("BackupList");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("完好"));
        table->selectRow(0);
        QSignalSpy restored(&window, &BackupWindow::restored);
        {
            MessageBoxAnswer answer(QMessageBox::Ok, 2);
            QTest::mouseClick(window.findChild<QPushButton*>("RestoreButton"), Qt::LeftButton);
            QCOMPARE(answer.texts().size(), 1);
            QCOMPARE(answer.icon(), QMessageBox::Warning);
            QVERIFY(answer.text().contains(QStringLiteral("--copy-stores-to")));
        }
        QCOMPARE(restored.count(), 0);
        StoreConnection::closeAll();
    }

    void mainWindowOffersRestoreAndBackupInItsMenu()
    {
        TestProgramFolder folder;
        MainWindow main(folder.context());
        QAction* item = main.findChild<QAction*>("menuRestoreBackup");
        QVERIFY(item);
        item->trigger();
        auto* window = main.findChild<BackupWindow*>();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        MessageBoxAnswer answer(QMessageBox::Ok);
        main.findChild<QAction*>("menuBackUpNow")->trigger();
        QVERIFY(answer.text().contains(QStringLiteral("已备份到")));
        QCOMPARE(window->copies().size(), 1);
    }
};

QTEST_MAIN(TestBackupWindow)
#include "TestBackupWindow.moc"
