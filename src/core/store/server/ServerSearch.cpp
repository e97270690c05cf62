#include "core/store/server/ServerSearch.h"

#include "core/store/file/DirectRows.h"
#include "core/store/file/NameIndex.h"
#include "core/store/server/ServerSearchIndex.h"
#include "core/store/sql/BoundQuery.h"

#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>
#include <QtEndian>

#include <libpq-fe.h>

#include <array>
#include <bit>
#include <cstdlib>

namespace quilloa {
namespace {

// A block's bit string comes as its length in four bytes, then its bits from the first; the
// server sends those bytes as "\x" and two hexadecimal digits each.
constexpr int kLengthBytes = 4;
constexpr int kBlockBytes = ServerSearchIndex::kBlockRows / 8;
constexpr int kHexStart = 2 + 2 * kLengthBytes;

constexpr std::array<signed char, 256> hexDigits()
{
    std::array<signed char, 256> digits{};
    for (int c = 0; c < 256; ++c)
        digits[c] = c >= '0' && c <= '9'   ? static_cast<signed char>(c - '0')
                    : c >= 'a' && c <= 'f' ? static_cast<signed char>(c - 'a' + 10)
                    : c >= 'A' && c <= 'F' ? static_cast<signed char>(c - 'A' + 10)
                                           : static_cast<signed char>(-1);
    return digits;
}

constexpr std::array<signed char, 256> kHexDigits = hexDigits();

// The bits of one block appended to `bits`, read in place from the server's answer; false when
// the value is not a whole block. Any other form the server may be set to send goes through
// libpq.
bool appendBlock(const char* text, int length, QByteArray& bits)
{
    const qsizetype at = bits.size();
    bits.resize(at + kBlockBytes);
    auto* out = reinterpret_cast<unsigned char*>(bits.data() + at);
    if (length == kHexStart + 2 * kBlockBytes && text[0] == '\\' && text[1] == 'x') {
        const auto* hex = reinterpret_cast<const unsigned char*>(text + kHexStart);
        int bad = 0;
        for (int i = 0; i < kBlockBytes; ++i) {
            const int high = kHexDigits[hex[2 * i]];
            const int low = kHexDigits[hex[2 * i + 1]];
            bad |= high | low;
            out[i] = static_cast<unsigned char>(high << 4 | low);
        }
        return bad >= 0;
    }
    size_t size = 0;
    unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
    const bool whole = raw && size == size_t(kLengthBytes + kBlockBytes);
    if (whole)
        std::copy(raw + kLengthBytes, raw + size, out);
    PQfreemem(raw);
    return whole;
}

// The rows the blocks mark, in order: counted first, so the list is made once at its size.
QList<qint64> rowsOf(const QList<qint64>& blocks, const QByteArray& bits)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(bits.constData());
    const qsizetype words = bits.size() / 8;
    qsizetype count = 0;
    for (qsizetype w = 0; w < words; ++w)
        count += std::popcount(qFromUnaligned<quint64>(bytes + 8 * w));
    QList<qint64> rows(count);
    qint64* row = rows.data();
    constexpr int kBlockWords = kBlockBytes / 8;
    for (qsizetype w = 0; w < words; ++w) {
        // Read with the block's first row in the top bit.
        quint64 word = qFromBigEndian<quint64>(bytes + 8 * w);
        const qint64 first =
            blocks[w / kBlockWords] * ServerSearchIndex::kBlockRows + (w % kBlockWords) * 64;
        while (word) {
            const int bit = std::countl_zero(word);
            *row++ = first + bit;
            word ^= (quint64(1) << 63) >> bit;
        }
    }
    return rows;
}

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

StoreResult<QList<qint64>> ServerSearch::candidates(const Statement& blocks) const
{
    QList<qint64> numbers;
    QByteArray bits;
    bool whole = true;
    const StoreStatus read =
        BoundQuery::read(m_server, blocks.sql, blocks.values, [&](const QSqlQuery& q) {
            // Straight from the server's answer: a search reads hundreds of blocks.
            const auto* answer = static_cast<const PGresult*>(q.result()->handle().value<void*>());
            const int row = q.at();
            if (numbers.isEmpty())
                bits.reserve(qsizetype(PQntuples(answer)) * kBlockBytes);
            numbers.append(std::strtoll(PQgetvalue(answer, row, 0), nullptr, 10));
            whole =
                whole && appendBlock(PQgetvalue(answer, row, 1), PQgetlength(answer, row, 1), bits);
        });
    if (!read.ok())
        return read;
    if (!whole)
        return StoreStatus::failure(StoreFault::Damaged, m_server.path(),
                                    QStringLiteral("a block of the name index is cut short"));
    return rowsOf(numbers, bits);
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
