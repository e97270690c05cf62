#include "core/store/file/StoreSchema.h"

#include "core/files/PrivateFiles.h"
#include "core/store/SchemaVersion.h"
#include "core/store/StoreTables.h"
#include "core/store/file/StoreCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace quilloa {

const QString StoreSchema::kSampleDoctor = QStringLiteral("王医生");
const QString StoreSchema::kSampleClinic = QStringLiteral("青石镇卫生院");

namespace {

QString text(const char* name, int limit)
{
    const QString column = QString::fromUtf8(name);
    return QStringLiteral("[%1] TEXT COLLATE NOCASE CHECK(length([%1]) <= %2)")
        .arg(column)
        .arg(limit);
}

QString memo(const char* name)
{
    return QStringLiteral("[%1] TEXT COLLATE NOCASE").arg(QString::fromUtf8(name));
}

// Currency as whole ten-thousandths of a yuan; NULL when the fee holds no value.
QString currency(const char* name)
{
    return QStringLiteral("[%1] INTEGER CHECK([%1] IS NULL OR typeof([%1]) = 'integer')")
        .arg(QString::fromUtf8(name));
}

QString table(const char* name, const QStringList& columns)
{
    return QStringLiteral("CREATE TABLE [%1] (%2)")
        .arg(QString::fromUtf8(name), columns.join(QStringLiteral(", ")));
}

const storetables::Dialect kFileDialect{text, memo, currency, table};

QStringList archiveStatements()
{
    return createStatements(storetables::kArchiveTables, kFileDialect)
           << QStringLiteral("INSERT INTO [密码] ([密码]) VALUES ('')");
}

QStringList settingsStatements()
{
    return createStatements(storetables::kSettingsTables, kFileDialect);
}

StoreStatus runAll(const QString& path, const QStringList& statements)
{
    const QString connection = QStringLiteral("quilloa-create:") + QUuid::createUuid().toString();
    StoreStatus status = StoreStatus::success();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        // An empty private file first: the database and its journal keep its mode.
        if (!PrivateFiles::createFile(path) || !db.open()) {
            status = StoreStatus::failure(db.lastError(), path);
        } else {
            QSqlQuery query(db);
            query.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
            query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
            db.transaction();
            for (const QString& statement : statements) {
                if (!query.exec(statement)) {
                    status = StoreStatus::failure(query.lastError(), path);
                    break;
                }
            }
            if (status.ok() && !db.commit())
                status = StoreStatus::failure(db.lastError(), path);
            query = QSqlQuery();
            if (!status.ok()) {
                db.rollback();
            } else {
                // A new store holds what an upgraded one does, and says so by its version.
                StoreSchema::ensureIndexes(db);
                status = SchemaVersion::upgradeFile(db, path);
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return status;
}

// Builds the whole store under a temporary name, checks it, and renames only a complete,
// sound store into place: a build that failed half way (a full disk, an I/O error) leaves
// nothing behind, and the next start builds it again.
StoreStatus createStore(const QString& path, const QStringList& statements, StoreKind kind)
{
    if (QFileInfo::exists(path))
        return StoreStatus::failure(QStringLiteral("数据文件“%1”已经存在，不会覆盖它。").arg(path));
    const QString temporary = path + QStringLiteral(".new");
    StoreCopy::removeTemporary(temporary);
    StoreStatus status = runAll(temporary, statements);
    if (status.ok())
        status = StoreCopy::check(temporary, kind);
    if (status.ok())
        status = StoreCopy::install(temporary, path);
    if (!status.ok()) {
        StoreCopy::removeTemporary(temporary);
        // The message names the store the user knows, not the temporary file.
        status = StoreStatus::failure(status.fault(), path, status.detail());
    }
    return status;
}

} // namespace

// A handful of common entries; their codes are the initials of the names.
QStringList StoreSchema::sampleRows()
{
    return {
        QStringLiteral("INSERT INTO \"药品\" (\"拼音\", \"名称\") VALUES "
                       "('amxljn', '阿莫西林胶囊 0.25×24/0.5 tid'),"
                       "('tbabjn', '头孢氨苄胶囊 0.25×24/0.5 qid'),"
                       "('lhmsp', '罗红霉素片 150mg×12/150mg bid'),"
                       "('blfhsjn', '布洛芬缓释胶囊 0.3×20/0.3 bid'),"
                       "('ffgcp', '复方甘草片 100片/3片 tid'),"
                       "('qmsz', '青霉素针 80万'),"
                       "('pttzsy', '5%葡萄糖注射液 250ml'),"
                       "('lhnzsy', '0.9%氯化钠注射液 250ml')"),
        QStringLiteral("INSERT INTO \"诊断\" (\"名称\", \"拼音\") VALUES "
                       "('上呼吸道感染', 'shxdgr'), ('急性支气管炎', 'jxzqgy'),"
                       "('急性胃肠炎', 'jxwcy'), ('高血压病', 'gxyb'), ('扁桃体炎', 'btty')"),
        QStringLiteral(
            "INSERT INTO \"地址\" (\"名称\", \"拼音\") VALUES "
            "('东街村', 'djc'), ('西山村', 'xsc'), ('南河村', 'nhc'), ('北岭村', 'blc')"),
    };
}

QString StoreSchema::settingsRow()
{
    return QStringLiteral(
               "INSERT INTO \"设置\" (\"医生\", \"上边距\", \"左边距\", \"上边距1\", "
               "\"左边距1\", \"配药\", \"名称\") VALUES ('%1', '0', '0', '0', '0', '', '%2')")
        .arg(kSampleDoctor, kSampleClinic);
}

StoreStatus StoreSchema::createArchiveStore(const QString& path)
{
    return createStore(path, archiveStatements(), StoreKind::Archive);
}

StoreStatus StoreSchema::createSettingsStore(const QString& path, bool withSamples)
{
    QStringList statements = settingsStatements();
    statements << settingsRow();
    if (withSamples)
        statements << sampleRows();
    return createStore(path, statements, StoreKind::Settings);
}

void StoreSchema::ensureIndexes(QSqlDatabase& db)
{
    static const char* const kIndexes[] = {
        "CREATE INDEX IF NOT EXISTS [档案_名称] ON [档案] ([名称])",
        "CREATE INDEX IF NOT EXISTS [档案_日期] ON [档案] ([日期])",
        // Holds every column the archive search reads, so a search by name reads this narrow
        // index instead of the whole table with its bodies.
        "CREATE INDEX IF NOT EXISTS [档案_姓名] ON [档案] ([姓名], [日期], [名称])",
        "CREATE INDEX IF NOT EXISTS [药品_拼音] ON [药品] ([拼音])",
        "CREATE INDEX IF NOT EXISTS [诊断_拼音] ON [诊断] ([拼音])",
        "CREATE INDEX IF NOT EXISTS [地址_拼音] ON [地址] ([拼音])",
    };
    const QStringList tables = db.tables();
    QSqlQuery query(db);
    for (const char* statement : kIndexes) {
        const QString sql = QString::fromUtf8(statement);
        const QString tableName =
            sql.section(QLatin1Char('['), 2, 2).section(QLatin1Char(']'), 0, 0);
        if (tables.contains(tableName))
            query.exec(sql);
    }
}

} // namespace quilloa
