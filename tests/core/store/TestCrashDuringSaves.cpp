#include "core/store/ArchiveStore.h"
#include "core/store/StoreFile.h"
#include "core/store/StoreSchema.h"
#include "support/StoreRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

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
            // The check first: it rolls back what the killed save left half done.
            QCOMPARE(test::fileIntegrity(archive), QStringLiteral("ok"));
            const QStringList stored = test::fileNames(archive);
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
