#include "ui/mainwindow/AboutWindow.h"

#include <QDir>
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
        // The data folder as --data and --help name it, the stores' folder within it.
        // In the system's own separators, as the user types them.
        const auto shown = [](const QString& path) { return QDir::toNativeSeparators(path); };
        QVERIFY(folders->text().startsWith(QStringLiteral("数据文件夹：") +
                                           shown(paths.programFolder) + QLatin1Char('\n')));
        QVERIFY(folders->text().contains(shown(paths.dataFolder)));
        QVERIFY(folders->text().contains(shown(paths.backupFolder)));
    }
};

QTEST_MAIN(TestAboutWindow)
#include "TestAboutWindow.moc"
