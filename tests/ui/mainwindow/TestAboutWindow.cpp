#include "ui/mainwindow/AboutWindow.h"

#include <QLabel>
#include <QTest>

using namespace quilloa;

class TestAboutWindow : public QObject
{
    Q_OBJECT
private slots:
    // The clinic finds its data through the About window, wherever start-up put it.
    void namesTheDataAndBackupFoldersAsPlainText()
    {
        const StorePaths paths(QStringLiteral("/home/医生/<b>数据</b>"));
        AboutWindow about(paths);
        auto* folders = about.findChild<QLabel*>(QStringLiteral("Label3"));
        QVERIFY(folders);
        QCOMPARE(folders->textFormat(), Qt::PlainText);
        QVERIFY(folders->text().contains(paths.dataFolder));
        QVERIFY(folders->text().contains(paths.backupFolder));
    }
};

QTEST_MAIN(TestAboutWindow)
#include "TestAboutWindow.moc"
