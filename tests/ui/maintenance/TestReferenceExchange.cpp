#include "core/reports/ClinicLogFormat.h"
#include "core/reports/ClinicLogSheet.h"
#include "core/store/SettingsStore.h"
#include "core/text/Cp936Codec.h"
#include "support/TestProgramFolder.h"
#include "ui/maintenance/DrugWindow.h"
#include "ui/maintenance/ReferenceExchange.h"
#include "ui/maintenance/ReferenceWindow.h"
#include "ui/support/MessageBoxAnswer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

int lines(QWidget& window)
{
    return window.findChild<QAbstractItemView*>("List1")->model()->rowCount();
}

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath("list.csv");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return path;
}

} // namespace

class TestReferenceExchange : public QObject
{
    Q_OBJECT
private slots:
    void buttonsAreNeverDefaultAndEnterLeavesThemAlone()
    {
        TestProgramFolder folder;
        ReferenceWindow window(folder.context(), ReferenceList::Diagnoses);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const char* name : {"CommandImport", "CommandExport"}) {
            auto* button = window.findChild<QPushButton*>(name);
            QVERIFY(button);
            QVERIFY(!button->autoDefault());
            QVERIFY(!button->isDefault());
        }
        QCOMPARE(window.findChild<QPushButton*>("CommandImport")->text(), QStringLiteral("导  入"));
        // Enter in the name box adds the entry and opens no file dialog.
        auto* name = window.findChild<QLineEdit*>("Text3");
        name->setFocus();
        name->setText(QStringLiteral("高血压"));
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(lines(window), 1);
    }

    void importRefillsTheDrugListAndTellsWhatWasRefused()
    {
        TestProgramFolder folder;
        DrugWindow window(folder.context());
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, Cp936Codec::encode(QStringLiteral("阿莫西林片 0.25×24,0.5 tid\r\n"
                                                             "\r\n"
                                                             "青霉素针 960万\r\n")));
        auto* exchange = window.findChild<ReferenceExchange*>();
        const ReferenceExchange::ImportReport report = exchange->importFile(path);
        QVERIFY(report.ok);
        QVERIFY(report.summary.contains(QStringLiteral("已导入 2 条药品（文件编码 GBK）")));
        QCOMPARE(report.details, QStringLiteral("第2行：名称为空"));
        QCOMPARE(lines(window), 2);
        // The same file again adds nothing: every line is already in the list.
        const ReferenceExchange::ImportReport again = exchange->importFile(path);
        QVERIFY(again.summary.contains(QStringLiteral("已导入 0 条")));
        QVERIFY(again.summary.contains(QStringLiteral("2 行与已有条目完全相同")));
        QCOMPARE(lines(window), 2);

        QVERIFY(exchange->exportFile(dir.filePath("out.csv")).ok());
        QVERIFY(!exchange->importFile(dir.filePath("missing.csv")).ok);
    }

    // Our own workbook picked by mistake is named and adds nothing.
    void workbookIsRefusedByName()
    {
        TestProgramFolder folder;
        ReferenceWindow window(folder.context(), ReferenceList::Diagnoses);
        QTemporaryDir dir;
        const QString path = dir.filePath("门诊日志.xlsx");
        const ClinicLogSheet sheet("诊所", ReportPeriod::month("2026", "12"), {});
        QVERIFY(ClinicLogFormat::writerFor(path)->write(sheet, path).ok());
        const ReferenceExchange::ImportReport report =
            window.findChild<ReferenceExchange*>()->importFile(path);
        QVERIFY(!report.ok);
        QVERIFY(report.summary.contains(QDir::toNativeSeparators(path)));
        QVERIFY(report.summary.contains(QStringLiteral("没有导入任何条目")));
        QCOMPARE(
            SettingsStore(folder.paths().settingsFile).all(ReferenceList::Diagnoses).value().size(),
            0);
    }
};

QTEST_MAIN(TestReferenceExchange)
#include "TestReferenceExchange.moc"
