#include "core/store/SettingsStore.h"

#include "core/records/ReferenceRows.h"
#include "core/store/file/DirectRows.h"
#include "core/store/server/ServerGuards.h"
#include "core/store/sql/BoundQuery.h"
#include "core/store/sql/StoreSql.h"

#include <QVariant>

#include <algorithm>
#include <array>
#include <utility>

#include <QSqlDatabase>
#include <QSqlError>

namespace quilloa {
namespace {

QString codePattern(const QString& text, SettingsStore::CodeMatch match)
{
    return (match == SettingsStore::CodeMatch::Contains ? QStringLiteral("%") : QString()) + text +
           QStringLiteral("%");
}

// Codes are made of Latin letters and blanks, so a text with anything beyond ASCII can only
// be meant as (part of) a name.
bool namesWanted(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7F; });
}

} // namespace

QString SettingsStore::tableName(ReferenceList list)
{
    switch (list) {
    case ReferenceList::Drugs:
        return QStringLiteral("\"药品\"");
    case ReferenceList::Diagnoses:
        return QStringLiteral("\"诊断\"");
    case ReferenceList::Addresses:
        return QStringLiteral("\"地址\"");
    }
    return QString();
}

SettingsStore::SettingsStore(const QString& filePath) : m_file(filePath) {}

SettingsStore::SettingsStore(StoreConnection store) : m_file(std::move(store)) {}

StoreResult<QList<ReferenceEntry>> SettingsStore::select(ReferenceList list, const QString& where,
                                                         const QVariantList& values) const
{
    const QString sql =
        QStringLiteral("SELECT rowid, \"名称\", \"拼音\" FROM %1 %2").arg(tableName(list), where);
    ReferenceRows rows;
    const StoreStatus read = DirectRows::read(m_file, sql, values, [&rows](const DirectRow& r) {
        rows.add(r.integer(0), r.utf8(1),
                 r.isNull(2) ? std::nullopt : std::optional<QByteArrayView>(r.utf8(2)));
    });
    if (!read.ok())
        return read;
    return rows.take();
}

QString SettingsStore::codeCondition() const
{
    return QStringLiteral("WHERE \"拼音\" ") + StoreSql::like(m_file);
}

StoreResult<QList<ReferenceEntry>> SettingsStore::all(ReferenceList list, int limit) const
{
    return select(list, QStringLiteral("ORDER BY rowid LIMIT ?"), {StoreSql::limit(m_file, limit)});
}

StoreResult<QList<ReferenceEntry>>
SettingsStore::codeStartsWith(ReferenceList list, const QString& text, int limit) const
{
    return select(list, codeCondition() + QStringLiteral(" ORDER BY rowid LIMIT ?"),
                  {codePattern(text, CodeMatch::Prefix), StoreSql::limit(m_file, limit)});
}

StoreResult<QList<ReferenceEntry>> SettingsStore::codeContains(ReferenceList list,
                                                               const QString& text, int limit) const
{
    return select(list, codeCondition() + QStringLiteral(" ORDER BY rowid LIMIT ?"),
                  {codePattern(text, CodeMatch::Contains), StoreSql::limit(m_file, limit)});
}

QString SettingsStore::lookupCondition(const QString& text, CodeMatch match,
                                       QVariantList& values) const
{
    values << codePattern(text, match);
    if (!namesWanted(text))
        return codeCondition();
    values << codePattern(text, CodeMatch::Contains);
    return codeCondition() + QStringLiteral(" OR \"名称\" ") + StoreSql::like(m_file);
}

StoreResult<QList<ReferenceEntry>> SettingsStore::lookup(ReferenceList list, const QString& text,
                                                         CodeMatch match, int limit) const
{
    QVariantList values;
    const QString where = lookupCondition(text, match, values);
    values << StoreSql::limit(m_file, limit);
    return select(list, where + QStringLiteral(" ORDER BY rowid LIMIT ?"), values);
}

StoreResult<StoredNames> SettingsStore::names(ReferenceList list, const QString& text,
                                              CodeMatch match) const
{
    StoredNames names;
    QVariantList values;
    const QString where = lookupCondition(text, match, values);
    const StoreStatus read = DirectRows::read(
        m_file,
        QStringLiteral("SELECT \"名称\" FROM %1 %2 ORDER BY rowid").arg(tableName(list), where),
        values, [&names](const DirectRow& r) { names.append(r.utf8(0)); });
    if (!read.ok())
        return read;
    return names;
}

StoreResult<qint64> SettingsStore::add(ReferenceList list, const QString& name, const QString& code)
{
    return BoundQuery::insert(
        m_file,
        QStringLiteral("INSERT INTO %1 (\"名称\", \"拼音\") VALUES (?, ?)").arg(tableName(list)),
        {name, code});
}

StoreStatus SettingsStore::addAll(ReferenceList list, const QList<ReferenceEntry>& entries) const
{
    StoreResult<QSqlDatabase> opened = m_file.database();
    if (!opened.ok())
        return opened;
    QSqlDatabase db = opened.value();
    if (!db.transaction())
        return m_file.failure(db.lastError());
    const QString sql =
        QStringLiteral("INSERT INTO %1 (\"名称\", \"拼音\") VALUES (?, ?)").arg(tableName(list));
    StoreStatus status = StoreStatus::success();
    for (qsizetype i = 0; status.ok() && i < entries.size(); ++i)
        status = BoundQuery::run(m_file, sql,
                                 {entries[i].name(), entries[i].code().value_or(QString())});
    if (status.ok() && db.commit())
        return status;
    db.rollback();
    m_file.operationFailed();
    return status.ok() ? m_file.failure(db.lastError()) : status;
}

StoreStatus SettingsStore::update(ReferenceList list, qint64 rowId, const QString& name,
                                  const QString& code)
{
    return BoundQuery::change(
        m_file,
        QStringLiteral("UPDATE %1 SET \"名称\" = ?, \"拼音\" = ? WHERE rowid = ?")
            .arg(tableName(list)),
        {name, code, rowId});
}

StoreStatus SettingsStore::remove(ReferenceList list, qint64 rowId)
{
    if (m_file.isServer())
        return ServerGuards::remove(m_file, tableName(list).mid(1).chopped(1), rowId);
    return BoundQuery::change(
        m_file, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(tableName(list)), {rowId});
}

StoreResult<SettingsRecord> SettingsStore::settings() const
{
    std::optional<SettingsRecord> found;
    const StoreStatus read = BoundQuery::read(
        m_file,
        QStringLiteral(
            "SELECT \"医生\", \"上边距\", \"左边距\", \"上边距1\", \"左边距1\", \"配药\", "
            "\"名称\" FROM \"设置\" ORDER BY rowid LIMIT 1"),
        {}, [&found](const QSqlQuery& q) {
            found =
                SettingsRecord{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                               q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                               q.value(6).toString()};
        });
    if (!read.ok())
        return read;
    if (!found)
        return StoreStatus::failure(StoreFault::Damaged, m_file.path(),
                                    QStringLiteral("settings row missing"));
    return *found;
}

StoreStatus SettingsStore::setSettings(const SettingsRecord& r)
{
    return BoundQuery::change(
        m_file,
        QStringLiteral(
            "UPDATE \"设置\" SET \"医生\" = ?, \"上边距\" = ?, \"左边距\" = ?, \"上边距1\" = ?, "
            "\"左边距1\" = ?, \"配药\" = ?, \"名称\" = ? "
            "WHERE rowid = (SELECT min(rowid) FROM \"设置\")"),
        {r.doctor, r.topMargin, r.leftMargin, r.cardTopMargin, r.cardLeftMargin, r.dispenser,
         r.clinicName});
}

StoreResult<std::optional<ReferenceEntry>> SettingsStore::entry(ReferenceList list,
                                                                qint64 rowId) const
{
    const auto found = select(list, QStringLiteral("WHERE rowid = ?"), {rowId});
    if (!found.ok())
        return StoreStatus(found);
    if (found.value().isEmpty())
        return std::optional<ReferenceEntry>();
    return std::optional<ReferenceEntry>(found.value().first());
}

StoreResult<std::optional<ReferenceEntry>>
SettingsStore::updateIfUnchanged(ReferenceList list, const ReferenceEntry& read,
                                 const QString& name, const QString& code)
{
    QVariantList values{name, code, read.rowId()};
    values << StoreSql::sameAsValues(read.name()) << StoreSql::sameAsValues(read.code());
    const StoreStatus written = BoundQuery::change(
        m_file,
        QStringLiteral("UPDATE %1 SET \"名称\" = ?, \"拼音\" = ? WHERE rowid = ? AND %2 AND %3")
            .arg(tableName(list), StoreSql::sameAs(m_file, QStringLiteral("\"名称\"")),
                 StoreSql::sameAs(m_file, QStringLiteral("\"拼音\""))),
        values);
    if (written.ok())
        return std::optional<ReferenceEntry>();
    if (written.fault() != StoreFault::NoRow)
        return written;
    // Gone, or changed since it was read: which one the row says.
    const auto now = entry(list, read.rowId());
    if (!now.ok())
        return now;
    if (!now.value())
        return written;
    // The same edit made in two rooms is no conflict.
    if (now.value()->name() == name && now.value()->code().value_or(QString()) == code)
        return std::optional<ReferenceEntry>();
    return now;
}

QString SettingsStore::columnOf(QString SettingsRecord::*field)
{
    const std::array<std::pair<QString SettingsRecord::*, const char*>, 7> kColumns{{
        {&SettingsRecord::doctor, "\"医生\""},
        {&SettingsRecord::topMargin, "\"上边距\""},
        {&SettingsRecord::leftMargin, "\"左边距\""},
        {&SettingsRecord::cardTopMargin, "\"上边距1\""},
        {&SettingsRecord::cardLeftMargin, "\"左边距1\""},
        {&SettingsRecord::dispenser, "\"配药\""},
        {&SettingsRecord::clinicName, "\"名称\""},
    }};
    for (const auto& [member, column] : kColumns)
        if (member == field)
            return QString::fromUtf8(column);
    return QString();
}

StoreResult<bool> SettingsStore::changeSettings(const QList<SettingChange>& changes)
{
    if (changes.isEmpty())
        return true;
    QStringList assignments;
    QStringList conditions;
    QVariantList values;
    for (const SettingChange& change : changes) {
        assignments << columnOf(change.field) + QStringLiteral(" = ?");
        values << change.value;
    }
    QVariantList readValues;
    for (const SettingChange& change : changes) {
        conditions << StoreSql::sameAs(m_file, columnOf(change.field));
        // The record is read with NULL as an empty text, so it is compared as one too.
        readValues << QString(QLatin1String("")) << change.read;
    }
    const StoreStatus written = BoundQuery::change(
        m_file,
        QStringLiteral("UPDATE \"设置\" SET %1 WHERE rowid = (SELECT min(rowid) FROM \"设置\") "
                       "AND %2")
            .arg(assignments.join(QStringLiteral(", ")), conditions.join(QStringLiteral(" AND "))),
        values + readValues);
    if (written.fault() == StoreFault::NoRow)
        return false;
    if (!written.ok())
        return written;
    return true;
}

} // namespace quilloa
