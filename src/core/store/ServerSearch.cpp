#include "core/store/ServerSearch.h"

#include "core/store/BoundQuery.h"
#include "core/store/DirectRows.h"
#include "core/store/NameIndex.h"
#include "core/store/ServerSearchIndex.h"

#include <QSqlQuery>
#include <QVariant>

namespace quilloa {
namespace {

// The bit string's length comes before its bits.
constexpr int kLengthBytes = 4;

QString columns(bool rowsOnly)
{
    return rowsOnly ? QStringLiteral("SELECT rowid FROM \"档案\" ")
                    : QStringLiteral("SELECT rowid, \"姓名\", \"名称\" FROM \"档案\" ");
}

// A date the index can narrow: one that begins with a character, not with a wildcard.
bool startsLiterally(const QString& datePrefix)
{
    return !datePrefix.isEmpty() && datePrefix.front() != QLatin1Char('%') &&
           datePrefix.front() != QLatin1Char('_');
}

QString candidateList(const QList<qint64>& rows)
{
    QString list = QStringLiteral("{");
    for (const qint64 row : rows) {
        if (list.size() > 1)
            list += QLatin1Char(',');
        list += QString::number(row);
    }
    return list + QLatin1Char('}');
}

} // namespace

ServerSearch::ServerSearch(StoreConnection server) : m_server(std::move(server)) {}

ServerSearch::Statement ServerSearch::statement(const QString& nameText, const QString& datePrefix,
                                                bool rowsOnly)
{
    const QString namePattern = QStringLiteral("%") + nameText + QStringLiteral("%");
    const QString datePattern = datePrefix + QStringLiteral("%");
    // The folded date matches exactly where the date column's own LIKE does: both lower A to Z
    // alone, the column's way.
    if (startsLiterally(datePrefix))
        return {columns(rowsOnly) +
                    QStringLiteral("WHERE %1 LIKE %2 ESCAPE '' AND \"姓名\" LIKE ? ESCAPE '' "
                                   "ORDER BY rowid")
                        .arg(ServerSearchIndex::foldedDate(), ServerSearchIndex::foldedPattern()),
                {datePattern, namePattern}};
    const QStringList characters = NameIndex::literalCharacters(nameText);
    if (characters.size() == 1)
        return {QStringLiteral("SELECT \"块\", varbit_send(\"位\") FROM \"档案_姓名字\" WHERE "
                               "\"字\" = ? ORDER BY \"块\""),
                {characters.first()},
                true};
    // The blocks where every typed character has rows, with the rows holding all of them.
    if (!characters.isEmpty())
        return {QStringLiteral("SELECT \"块\", varbit_send(bit_and(\"位\")) FROM \"档案_姓名字\" "
                               "WHERE \"字\" IN (SELECT regexp_split_to_table(CAST(? AS text), "
                               "'')) GROUP BY \"块\" HAVING count(*) = ? ORDER BY \"块\""),
                {characters.join(QString()), int(characters.size())},
                true};
    return {columns(rowsOnly) + QStringLiteral("WHERE \"姓名\" LIKE ? ESCAPE '' AND \"日期\" "
                                               "LIKE ? ESCAPE '' ORDER BY rowid"),
            {namePattern, datePattern}};
}

void ServerSearch::rowsOfBlock(qint64 block, QByteArrayView bits, QList<qint64>& rows)
{
    const qint64 first = block * ServerSearchIndex::kBlockRows;
    for (qsizetype byte = kLengthBytes; byte < bits.size(); ++byte) {
        const auto value = static_cast<unsigned char>(bits[byte]);
        for (int bit = 0; value && bit < 8; ++bit) {
            if (value & (0x80u >> bit))
                rows.append(first + (byte - kLengthBytes) * 8 + bit);
        }
    }
}

StoreResult<QList<qint64>> ServerSearch::candidates(const Statement& blocks) const
{
    QList<qint64> rows;
    const StoreStatus read =
        BoundQuery::read(m_server, blocks.sql, blocks.values, [&rows](const QSqlQuery& q) {
            rowsOfBlock(q.value(0).toLongLong(), q.value(1).toByteArray(), rows);
        });
    if (!read.ok())
        return read;
    return rows;
}

StoreResult<QList<ArchiveEntry>> ServerSearch::read(const Statement& query) const
{
    QList<ArchiveEntry> list;
    const StoreStatus read =
        DirectRows::read(m_server, query.sql, query.values, [&list](const DirectRow& r) {
            list.append({r.integer(0), r.text(1), r.text(2)});
        });
    if (!read.ok())
        return read;
    return list;
}

StoreResult<QList<ArchiveEntry>> ServerSearch::entries(const QString& nameText,
                                                       const QString& datePrefix) const
{
    const Statement first = statement(nameText, datePrefix, false);
    if (!first.blocks)
        return read(first);
    const StoreResult<QList<qint64>> found = candidates(first);
    if (!found.ok())
        return StoreStatus(found);
    if (found.value().isEmpty())
        return QList<ArchiveEntry>();
    // Among the rows holding every character, the typed text itself decides.
    return read(
        {columns(false) + QStringLiteral("WHERE rowid = ANY(CAST(? AS bigint[])) AND "
                                         "\"姓名\" LIKE ? ESCAPE '' AND \"日期\" LIKE ? "
                                         "ESCAPE '' ORDER BY rowid"),
         {candidateList(found.value()), QStringLiteral("%") + nameText + QStringLiteral("%"),
          datePrefix + QStringLiteral("%")}});
}

StoreResult<QList<qint64>> ServerSearch::rows(const QString& nameText,
                                              const QString& datePrefix) const
{
    const Statement first = statement(nameText, datePrefix, true);
    if (!first.blocks) {
        QList<qint64> rows;
        const StoreStatus read =
            DirectRows::read(m_server, first.sql, first.values,
                             [&rows](const DirectRow& r) { rows.append(r.integer(0)); });
        if (!read.ok())
            return read;
        return rows;
    }
    // Every dated row holding a lone typed character matches it, and only those are indexed.
    if (datePrefix.isEmpty() && NameIndex::isOneCharacter(nameText))
        return candidates(first);
    const StoreResult<QList<ArchiveEntry>> found = entries(nameText, datePrefix);
    if (!found.ok())
        return StoreStatus(found);
    QList<qint64> rows;
    rows.reserve(found.value().size());
    for (const ArchiveEntry& entry : found.value())
        rows.append(entry.rowId);
    return rows;
}

} // namespace quilloa
