#include "core/exchange/CsvText.h"
#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "support/TestProgramFolder.h"
#include "ui/reports/ClinicLogWindow.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quilloa;
using quilloa::test::TestProgramFolder;

namespace {

void addVisit(const TestProgramFolder& folder, const QString& key, const QString& name,
              const QString& fee)
{
    PrescriptionRecord r;
    r.key = key;
    r.name = name;
    r.date = key.left(10);
    r.fee = Money::fromLeadingNumber(fee);
    QVERIFY(ArchiveStore(folder.paths().archiveFile).add(r).ok());
}

QList<QStringList> csvLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> lines;
    for (const CsvText::Record& record : CsvText::parse(QString::fromUtf8(file.readAll().mid(3))))
        lines << record.fields;
    return lines;
}

} // namespace

class TestClinicLogExportCommand : public QObject
{
    Q_OBJECT
private slots:
    void exportsTheRowsOfTheLastQuery()
    {
        TestProgramFolder folder;
        addVisit(folder, "2009-03-25 08:00:00", "张三", "12.5");
        addVisit(folder, "2009-03-02 09:00:00", "李四", "3");
        ClinicLogWindow window(folder.context(), [] { return QString(); });
        auto* exportButton = window.findChild<QPushButton*>("Command5");
        QVERIFY(exportButton);
        QCOMPARE(exportButton->text(), QStringLiteral("导  出"));
        QVERIFY(!exportButton->autoDefault());
        QTemporaryDir dir;
        const QString path = dir.filePath("log.csv");
        // Nothing to export before a query.
        QVERIFY(!window.exportTo(path).ok());
        QVERIFY(!QFile::exists(path));

        QTest::mouseClick(window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QVERIFY(window.exportTo(path).ok());
        const SettingsRecord settings =
            SettingsStore(folder.paths().settingsFile).settings().valueOr(SettingsRecord());
        QList<QStringList> lines = csvLines(path);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0].first(), settings.clinicName + " 门诊日志 2009-03");
        QCOMPARE(lines[2].first(), QStringLiteral("李四"));
        QCOMPARE(lines[4].last(), QStringLiteral("15.5"));

        // The day query replaces what is exported.
        QTest::mouseClick(window.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY(window.exportTo(path).ok());
        lines = csvLines(path);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[2].mid(0, 1), QStringList{"张三"});
        QCOMPARE(lines[3].last(), QStringLiteral("12.5"));
    }
};

QTEST_MAIN(TestClinicLogExportCommand)
#include "TestClinicLogExportCommand.moc"
