#include "core/store/ArchiveStore.h"
#include "core/store/StoreFile.h"
#include "core/store/StoreSchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>

using namespace quilloa;

namespace {

const char* const kChildVariable = "QUILLOA_SAVING_CHILD";
const char* const kRoundVariable = "QUILLOA_SAVING_ROUND";

// The child: saves records one after another and reports each save the store confirmed.
int saveUntilKilled(const QString& archive, const QString& round)
{
    ArchiveStore store(archive);
    for (int i = 0;; ++i) {
        PrescriptionRecord r;
        r.name = round + QLatin1Char('-') + QString::number(i);
        r.key = QStringLiteral("2009-03-25 18:08:43");
        r.body = QString(200 + i % 500, QChar(0x836F));
        if (store.add(r).ok()) {
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
    }
}

QStringList storedNames(const QString& archive, QString& integrity)
{
    QStringList names;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(archive).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
    if (statement && sqlite3_step(statement) == SQLITE_ROW)
        integrity =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_prepare_v2(db, "SELECT [姓名] FROM [档案]", -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW)
        names << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return names;
}

} // namespace

class TestCrashDuringSaves : public QObject
{
    Q_OBJECT
private slots:
    // A program killed at a random moment while saving keeps every save it reported, and the
    // store it leaves checks sound.
    void everyReportedSaveSurvivesAKill()
    {
        QTemporaryDir dir;
        const QString archive = dir.filePath(QStringLiteral("档案.dat"));
        QVERIFY(StoreSchema::createArchiveStore(archive).ok());
        QStringList reported;
        for (int round = 0; round < 8; ++round) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QLatin1String(kChildVariable), archive);
            environment.insert(QLatin1String(kRoundVariable), QString::number(round));
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            QTest::qWait(100 + int(QRandomGenerator::global()->bounded(300)));
            child.kill();
            QVERIFY(child.waitForFinished());
            for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
                if (!line.isEmpty())
                    reported << QString::number(round) + QLatin1Char('-') +
                                    QString::fromLatin1(line);
            }
            QString integrity;
            const QStringList stored = storedNames(archive, integrity);
            QCOMPARE(integrity, QStringLiteral("ok"));
            for (const QString& name : reported)
                QVERIFY2(stored.contains(name), qPrintable(name + QStringLiteral(" lost")));
        }
        QVERIFY(!reported.isEmpty());
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable))
        return saveUntilKilled(qEnvironmentVariable(kChildVariable),
                               qEnvironmentVariable(kRoundVariable));
    TestCrashDuringSaves test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestCrashDuringSaves.moc"
