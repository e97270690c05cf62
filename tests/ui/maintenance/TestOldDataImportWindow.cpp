#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "support/TestProgramFolder.h"
#include "ui/maintenance/OldDataImportWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

class TestOldDataImportWindow : public QObject
{
    Q_OBJECT
private slots:
    // What the old folder holds is shown before anything is written; a settings record the
    // clinic changed is offered beside the old one, and the one chosen is what stays.
    void showsFirstThenImportsWithTheChosenSettings()
    {
        const TestProgramFolder folder;
        SettingsRecord changed = SettingsStore(folder.paths().settingsFile).settings().value();
        changed.clinicName = QStringLiteral("本诊所");
        QVERIFY(SettingsStore(folder.paths().settingsFile).setSettings(changed).ok());
        OldDataImportWindow window(folder.context(),
                                   QString::fromLocal8Bit(qgetenv("QUILLOA_SOURCE_DIR")) +
                                       QStringLiteral("/tests/data/oldimport/pw"));
        window.survey();
        QTRY_VERIFY_WITH_TIMEOUT(!window.isWorking(), 60000);
        auto* button = window.findChild<QPushButton*>(QStringLiteral("ImportButton"));
        auto* text = window.findChild<QLabel*>(QStringLiteral("ImportText"));
        QVERIFY2(button->isEnabled(), qPrintable(text->text()));
        QVERIFY(text->text().contains(QStringLiteral("20张处方")));
        QVERIFY(ArchiveStore(folder.paths().archiveFile).firstEntries(100).value().isEmpty());
        auto* takeOld = window.findChild<QRadioButton*>(QStringLiteral("TakeOldSettings"));
        QVERIFY(!takeOld->isHidden());
        takeOld->setChecked(true);
        button->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.isWorking(), 60000);
        QVERIFY2(window.imported(), qPrintable(text->text()));
        QCOMPARE(ArchiveStore(folder.paths().archiveFile).firstEntries(100).value().size(), 20);
        QCOMPARE(SettingsStore(folder.paths().settingsFile).settings().value().clinicName,
                 QStringLiteral("红星乡卫生院"));
    }
};

QTEST_MAIN(TestOldDataImportWindow)
#include "TestOldDataImportWindow.moc"
