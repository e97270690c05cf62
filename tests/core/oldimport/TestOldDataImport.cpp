#include "core/oldimport/MdbJetFile.h"
#include "core/oldimport/OldDataImport.h"
#include "core/startup/LoginCheck.h"
#include "core/startup/PasswordHash.h"
#include "core/store/StoreConnection.h"
#include "support/StoreRows.h"
#include "support/TestProgramFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>
#include <QUuid>

#include <cstdio>

using namespace quilloa;

namespace {

const char* const kChildVariable = "QUILLOA_IMPORTING_CHILD";
const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 0));
const QStringList kTables = {QStringLiteral("档案"), QStringLiteral("药品"), QStringLiteral("诊断"),
                             QStringLiteral("地址"), QStringLiteral("设置")};

QString dataFolder(const QString& name)
{
    return QString::fromLocal8Bit(qgetenv("QUILLOA_SOURCE_DIR")) +
           QStringLiteral("/tests/data/oldimport/") + name;
}

// The old program's folder of a variant, copied under a Chinese name as a clinic keeps it.
QString oldFolderIn(const test::TestProgramFolder& folder, const QString& variant)
{
    const QString old = folder.path() + QStringLiteral("/旧程序 处方/数据库");
    QDir().mkpath(old);
    for (const QString& name : {QStringLiteral("档案.dat"), QStringLiteral("设置.dat")})
        QFile::copy(dataFolder(variant) + QLatin1Char('/') + name, old + QLatin1Char('/') + name);
    return QFileInfo(old).absolutePath();
}

QString escaped(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\t'), QStringLiteral("\\t"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
}

QString money(qint64 units)
{
    const QString sign = units < 0 ? QStringLiteral("-") : QString();
    const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
    return sign + QStringLiteral("%1.%2")
                      .arg(magnitude / 10000)
                      .arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
}

// A table of a store file as the expected files write it: heading, then a line a row.
QStringList tsvOf(const QString& path, const QString& table)
{
    const QString name = QUuid::createUuid().toString();
    QStringList lines;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table));
        QStringList heading;
        for (int i = 0; i < query.record().count(); ++i)
            heading << query.record().fieldName(i);
        lines << heading.join(QLatin1Char('\t'));
        while (query.next()) {
            QStringList cells;
            for (int i = 0; i < query.record().count(); ++i) {
                const bool fee = heading[i] == QStringLiteral("收费");
                cells << (query.isNull(i) ? QStringLiteral("\\N")
                          : fee           ? money(query.value(i).toLongLong())
                                          : escaped(query.value(i).toString()));
            }
            lines << cells.join(QLatin1Char('\t'));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return lines;
}

QStringList expectedTsv(const QString& expected, const QString& table)
{
    QFile file(dataFolder(expected) + QLatin1Char('/') + table + QStringLiteral(".tsv"));
    file.open(QIODevice::ReadOnly);
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Every row of both stores, and the stores' bytes: what "nothing changed" means.
QStringList storesState(const StorePaths& paths)
{
    StoreConnection::closeAll();
    QStringList state;
    for (const QString& table : kTables + QStringList{QStringLiteral("密码")}) {
        const QString store = table == QStringLiteral("档案") || table == QStringLiteral("密码")
                                  ? paths.archiveFile
                                  : paths.settingsFile;
        state << test::fileRows(store, table);
    }
    return state;
}

QByteArray fileState(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex() + ' ' +
           QByteArray::number(QFileInfo(path).lastModified().toMSecsSinceEpoch());
}

QByteArray oldFilesState(const QString& old)
{
    return fileState(old + QStringLiteral("/数据库/档案.dat")) +
           fileState(old + QStringLiteral("/数据库/设置.dat"));
}

// An old store whose every value of one column of one table reads as cut, as a value the
// reader could not read to its end would.
class CutColumn : public JetFile
{
public:
    CutColumn(std::unique_ptr<JetFile> file, int column) : m_file(std::move(file)), m_column(column)
    {
    }
    JetStatus readRows(const QString& table, const QStringList& columns,
                       const RowReader& reader) override
    {
        return m_file->readRows(table, columns, [&](QList<JetValue> values) {
            if (table == QStringLiteral("档案"))
                values[m_column] = JetValue::cut();
            reader(values);
        });
    }

private:
    std::unique_ptr<JetFile> m_file;
    int m_column;
};

// An archive of many records from the few of a store, each repeated under its own key, read
// slowly enough that a kill falls in the middle of writing them.
class ManyRecords : public JetFile
{
public:
    explicit ManyRecords(std::unique_ptr<JetFile> file) : m_file(std::move(file)) {}
    JetStatus readRows(const QString& table, const QStringList& columns,
                       const RowReader& reader) override
    {
        return m_file->readRows(table, columns, [&](QList<JetValue> values) {
            for (int copy = 0; table == QStringLiteral("档案") && copy < 200; ++copy) {
                values[0].text = values[0].text.left(17) + QString::number(copy);
                reader(values);
                QThread::usleep(100);
            }
            if (table != QStringLiteral("档案"))
                reader(values);
        });
    }

private:
    std::unique_ptr<JetFile> m_file;
};

JetFileOpener wrapped(const std::function<std::unique_ptr<JetFile>(std::unique_ptr<JetFile>)>& wrap)
{
    return [wrap](const QString& path, JetStatus& status) -> std::unique_ptr<JetFile> {
        std::unique_ptr<JetFile> file = MdbJetFile::open(path, status);
        return file ? wrap(std::move(file)) : nullptr;
    };
}

int importUntilKilled(const QString& programFolder, const QString& old)
{
    const OldDataImport import(StorePaths(programFolder), wrapped([](std::unique_ptr<JetFile> f) {
                                   return std::make_unique<ManyRecords>(std::move(f));
                               }));
    OldData data;
    if (!import.survey(old, data).ok())
        return 2;
    std::puts("writing");
    std::fflush(stdout);
    return import.write(data, SettingsChoice::Auto, false, kNow).ok ? 0 : 1;
}

} // namespace

class TestOldDataImport : public QObject
{
    Q_OBJECT
private slots:
    // Every record, list entry, setting and the login password arrive exactly as the old store
    // holds them, in its order, and the old files stay as they were, to their dates.
    void everyVariantArrivesExactly_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("expected");
        for (const char* variant : {"pw", "pw-enc", "nopw", "pw-nocomp"})
            QTest::newRow(variant) << QString::fromLatin1(variant) << QStringLiteral("expected");
        QTest::newRow("pw-used") << QStringLiteral("pw-used") << QStringLiteral("expected-used");
    }
    void everyVariantArrivesExactly()
    {
        QFETCH(QString, variant);
        QFETCH(QString, expected);
        const test::TestProgramFolder folder;
        const QString old = oldFolderIn(folder, variant);
        const QByteArray oldBefore = oldFilesState(old);
        const OldDataImport::Outcome outcome =
            OldDataImport(folder.paths()).run(old, StoreLocation(), false, kNow);
        QVERIFY2(outcome.ok, qPrintable(outcome.message));
        StoreConnection::closeAll();
        for (const QString& table : kTables) {
            const QString store = table == QStringLiteral("档案") ? folder.paths().archiveFile
                                                                  : folder.paths().settingsFile;
            QCOMPARE(tsvOf(store, table), expectedTsv(expected, table));
        }
        const QString clear = expectedTsv(expected, QStringLiteral("密码")).value(1);
        const QString stored = test::fileRows(folder.paths().archiveFile, QStringLiteral("密码"))
                                   .value(0)
                                   .section(QLatin1Char('|'), 1);
        QCOMPARE(PasswordHash::isHash(stored), !clear.trimmed().isEmpty());
        QVERIFY(LoginCheck::accepts(QStringLiteral("  ") + clear.toUpper() + QStringLiteral(" "),
                                    stored));
        QCOMPARE(oldFilesState(old), oldBefore);
        QVERIFY(QFileInfo::exists(outcome.savedFolder + QStringLiteral("/档案.dat")));
    }

    // A second import of the same folder adds nothing; a dry run before it writes nothing and
    // foretells exactly what the import then does.
    void dryRunAndSecondImportWriteNothing()
    {
        const test::TestProgramFolder folder;
        const QString old = oldFolderIn(folder, QStringLiteral("pw-used"));
        const OldDataImport import(folder.paths());
        const QByteArray storesBefore =
            fileState(folder.paths().archiveFile) + fileState(folder.paths().settingsFile);
        const OldDataImport::Outcome dry = import.run(old, StoreLocation(), true, kNow);
        QVERIFY2(dry.ok, qPrintable(dry.message));
        QCOMPARE(fileState(folder.paths().archiveFile) + fileState(folder.paths().settingsFile),
                 storesBefore);
        QVERIFY(!QFileInfo::exists(folder.paths().backupFolder));
        const OldDataImport::Outcome first = import.run(old, StoreLocation(), false, kNow);
        QVERIFY2(first.ok, qPrintable(first.message));
        QCOMPARE(first.counts.recordsAdded, dry.counts.recordsAdded);
        QCOMPARE(first.counts.lists[0].added, dry.counts.lists[0].added);
        const QStringList afterFirst = storesState(folder.paths());
        const OldDataImport::Outcome second = import.run(old, StoreLocation(), false, kNow);
        QVERIFY2(second.ok, qPrintable(second.message));
        QCOMPARE(second.counts.recordsAdded, 0);
        QCOMPARE(second.counts.recordsSkipped, first.counts.recordsAdded);
        for (const ImportCounts::List& list : second.counts.lists)
            QCOMPARE(list.added, 0);
        QCOMPARE(second.counts.settings, ImportCounts::Settings::Same);
        QCOMPARE(storesState(folder.paths()), afterFirst);
    }

    // A value that cannot be read whole, a damaged page, a file of another kind and a newer
    // format are each refused with their own message, before anything is written.
    void unreadableStoresAreRefused_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("cut body") << QStringLiteral("cut") << QStringLiteral("“处方”一栏读不完整");
        QTest::newRow("damaged page") << QStringLiteral("page") << QStringLiteral("已损坏");
        QTest::newRow("not a store")
            << QStringLiteral("text") << QStringLiteral("不是 Access 数据库");
        QTest::newRow("newer format") << QStringLiteral("ace") << QStringLiteral("较新的 Access");
    }
    void unreadableStoresAreRefused()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        const test::TestProgramFolder folder;
        const QString old = oldFolderIn(folder, QStringLiteral("pw"));
        QFile archive(old + QStringLiteral("/数据库/档案.dat"));
        QVERIFY(archive.open(QIODevice::ReadWrite));
        QByteArray bytes = archive.readAll();
        if (damage == QStringLiteral("page")) {
            // The last data page, one of the old program's own tables, made a page of another kind.
            for (qsizetype page = bytes.size() - 4096; page > 0; page -= 4096) {
                if (bytes[page] == 1 && bytes.mid(page + 4, 4) != "LVAL") {
                    bytes[page] = 3;
                    break;
                }
            }
        } else if (damage == QStringLiteral("text")) {
            bytes = QByteArray(4096 * 4, 'x');
        } else if (damage == QStringLiteral("ace")) {
            bytes.replace(4, 15, "Standard ACE DB");
            bytes[0x14] = 2;
        }
        archive.resize(0);
        archive.write(bytes);
        archive.close();
        const QStringList before = storesState(folder.paths());
        const OldDataImport import(folder.paths(), wrapped([](std::unique_ptr<JetFile> f) {
                                       return std::make_unique<CutColumn>(std::move(f), 7);
                                   }));
        const OldDataImport::Outcome outcome =
            damage == QStringLiteral("cut")
                ? import.run(old, StoreLocation(), false, kNow)
                : OldDataImport(folder.paths()).run(old, StoreLocation(), false, kNow);
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
        if (damage == QStringLiteral("cut"))
            QVERIFY2(outcome.message.contains(QStringLiteral("2009-03-01 08:00:00")),
                     qPrintable(outcome.message));
        QCOMPARE(storesState(folder.paths()), before);
        QVERIFY(!QFileInfo::exists(folder.paths().backupFolder));
    }

    // An import killed at a random moment leaves both stores as they were before it, or, when
    // the kill came after the commit, holding the whole import; never a part of it.
    void killedImportLeavesStoresWhole()
    {
#ifdef Q_OS_WIN
        QSKIP("a program under Wine starts too slowly for the kill window");
#endif
        for (int round = 0; round < 4; ++round) {
            const test::TestProgramFolder folder;
            const QString old = oldFolderIn(folder, QStringLiteral("pw-used"));
            const QStringList before = storesState(folder.paths());
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(kChildVariable),
                               folder.path() + QLatin1Char('\n') + old);
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForReadyRead(60000));
            QThread::msleep(QRandomGenerator::global()->bounded(50, 600));
            child.kill();
            child.waitForFinished();
            QCOMPARE(test::fileIntegrity(folder.paths().archiveFile), QStringLiteral("ok"));
            QCOMPARE(test::fileIntegrity(folder.paths().settingsFile), QStringLiteral("ok"));
            const QStringList after = storesState(folder.paths());
            const qsizetype records =
                test::fileRows(folder.paths().archiveFile, QStringLiteral("档案")).size();
            QVERIFY2(after == before || records == 19 * 200,
                     qPrintable(QStringLiteral("%1 records").arg(records)));
        }
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString child = qEnvironmentVariable(kChildVariable);
    if (!child.isEmpty())
        return importUntilKilled(child.section(QLatin1Char('\n'), 0, 0),
                                 child.section(QLatin1Char('\n'), 1));
    TestOldDataImport test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestOldDataImport.moc"
