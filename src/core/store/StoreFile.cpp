#include "store/StoreFile.h"

#include "store/PreparedStatements.h"
#include "store/StoreSchema.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace quilloa {
namespace {

const QString kConnectionPrefix = QStringLiteral("quilloa-store:");

bool openConnection(QSqlDatabase& db, const QString& path)
{
    // mode=rw: never create a file that is not there.
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open())
        return false;
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Verifies the file really is a store before anyone relies on it.
    if (!pragma.exec(QStringLiteral("PRAGMA schema_version"))) {
        db.close();
        return false;
    }
    StoreSchema::ensureIndexes(db);
    return true;
}

} // namespace

StoreFile::StoreFile(QString path)
    : m_path(std::move(path)), m_connectionName(connectionNameOf(m_path))
{
}

QString StoreFile::connectionNameOf(const QString& path)
{
    return kConnectionPrefix + QFileInfo(path).absoluteFilePath();
}

StoreResult<QSqlDatabase> StoreFile::database() const
{
    const QString& name = m_connectionName;
    if (!QFileInfo::exists(m_path)) {
        close(m_path);
        return StoreStatus::failure(QStringLiteral("数据文件不存在：%1").arg(m_path));
    }
    {
        // An unknown name gives a handle that is not open: one look-up serves the common case.
        const QSqlDatabase held = QSqlDatabase::database(name, false);
        if (held.isOpen())
            return held;
    }
    // A connection held but no longer open is dropped and opened afresh.
    PreparedStatements::forget(name);
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!openConnection(db, m_path)) {
        const QString error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return StoreStatus::failure(error.isEmpty() ? QStringLiteral("无法打开数据文件") : error);
    }
    return db;
}

void StoreFile::close(const QString& path)
{
    const QString name = connectionNameOf(path);
    PreparedStatements::forget(name);
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void StoreFile::closeAll()
{
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (!name.startsWith(kConnectionPrefix))
            continue;
        PreparedStatements::forget(name);
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

} // namespace quilloa
