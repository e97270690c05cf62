#include "core/oldimport/MdbJetFile.h"

#include "core/oldimport/JetHeader.h"
#include "core/oldimport/JetText.h"

#include <mdbtools.h>

#include <cstring>
#include <vector>

namespace quilloa {

struct MdbHandleParts
{
    MdbHandle* mdb = nullptr;
    ~MdbHandleParts()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

namespace {

// The flags of a row's entry in its page's offset table. Jet marks a deleted row with both; the
// new place of a moved row carries the deleted flag alone, so that a walk over the pages passes
// it by, and is reached through the pointer left at the row's old place.
constexpr unsigned kDeletedRow = 0x8000;
constexpr unsigned kPointerRow = 0x4000;
constexpr unsigned kOffsetMask = 0x1fff;
// A row moved more than once is still reached in a few steps.
constexpr int kMostMoves = 8;
// More pages than a Jet 4 file of 2 GB has: a page table that claims more is damaged.
constexpr qint64 kMostPages = 1 << 20;
constexpr quint32 kInlineMemo = 0x80000000u;
constexpr quint32 kSinglePageMemo = 0x40000000u;
constexpr quint32 kMemoLengthMask = 0x3fffffffu;

struct Wanted
{
    int index = 0;
    int type = 0;
};

using Bytes = std::vector<unsigned char>;

quint32 word32(const void* buffer, int offset)
{
    return quint32(mdb_get_int32(const_cast<void*>(buffer), offset));
}

unsigned slotOf(MdbHandle* mdb, int row)
{
    return unsigned(mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset + 2 + row * 2));
}

int rowsOnPage(MdbHandle* mdb)
{
    return mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
}

bool readTablePage(MdbTableDef* table, quint32 page)
{
    MdbHandle* mdb = table->entry->mdb;
    return mdb_read_pg(mdb, page) == mdb->fmt->pg_size && mdb->pg_buf[0] == MDB_PAGE_DATA &&
           word32(mdb->pg_buf, 4) == quint32(table->entry->table_pg);
}

// The bytes of one piece of a long value, from its page; false when the page is not one of
// long values or the piece is not on it.
bool lvalPiece(MdbHandle* mdb, quint32 pointer, Bytes& piece)
{
    void* buffer = nullptr;
    int start = 0;
    size_t length = 0;
    if (mdb_find_pg_row(mdb, int(pointer), &buffer, &start, &length) != 0)
        return false;
    const auto* page = static_cast<const unsigned char*>(buffer);
    if (page[0] != MDB_PAGE_DATA || std::memcmp(page + 4, "LVAL", 4) != 0 ||
        start + qsizetype(length) > mdb->fmt->pg_size)
        return false;
    piece.assign(page + start, page + start + length);
    return true;
}

// The stored bytes of a memo, all of them, or none when they cannot all be found.
std::optional<Bytes> memoBytes(MdbHandle* mdb, const MdbField& field)
{
    const auto* value = static_cast<const unsigned char*>(field.value);
    const quint32 header = word32(value, 0);
    const qsizetype length = header & kMemoLengthMask;
    if (header & kInlineMemo) {
        if (field.siz - MDB_MEMO_OVERHEAD != length)
            return std::nullopt;
        return Bytes(value + MDB_MEMO_OVERHEAD, value + field.siz);
    }
    Bytes piece;
    if (header & kSinglePageMemo) {
        if (!lvalPiece(mdb, word32(value, 4), piece) || qsizetype(piece.size()) < length)
            return std::nullopt;
        piece.resize(length);
        return piece;
    }
    if ((header & 0xff000000u) != 0)
        return std::nullopt;
    Bytes whole;
    for (quint32 next = word32(value, 4); next != 0;) {
        if (!lvalPiece(mdb, next, piece) || piece.size() < 4 ||
            qsizetype(whole.size() + piece.size() - 4) > length)
            return std::nullopt;
        next = word32(piece.data(), 0);
        whole.insert(whole.end(), piece.begin() + 4, piece.end());
    }
    if (qsizetype(whole.size()) != length)
        return std::nullopt;
    return whole;
}

JetValue textOf(const unsigned char* bytes, qsizetype size)
{
    std::optional<QString> text = JetText::decode(bytes, size);
    return text ? JetValue::ofText(std::move(*text)) : JetValue::cut();
}

JetValue valueOf(MdbHandle* mdb, const MdbField& field, int type)
{
    if (field.is_null)
        return JetValue();
    const auto* bytes = static_cast<const unsigned char*>(field.value);
    switch (type) {
    case MDB_TEXT:
        return textOf(bytes, field.siz);
    case MDB_MEMO: {
        if (field.siz == 0)
            return JetValue::ofText(QString(QLatin1String("")));
        if (field.siz < MDB_MEMO_OVERHEAD)
            return JetValue::cut();
        const std::optional<Bytes> memo = memoBytes(mdb, field);
        return memo ? textOf(memo->data(), qsizetype(memo->size())) : JetValue::cut();
    }
    case MDB_MONEY: {
        if (field.siz != 8)
            return JetValue::cut();
        qint64 units = 0;
        for (int i = 7; i >= 0; --i)
            units = qint64(quint64(units) << 8 | bytes[i]);
        return JetValue::ofUnits(units);
    }
    default:
        return JetValue::cut();
    }
}

QString columnName(MdbTableDef* table, unsigned i)
{
    const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    return QString::fromUtf8(column->name);
}

} // namespace

MdbJetFile::MdbJetFile(QString path, std::unique_ptr<JetFilePath> native)
    : m_path(std::move(path)), m_native(std::move(native)),
      m_parts(std::make_unique<MdbHandleParts>())
{
}

MdbJetFile::~MdbJetFile() = default;

std::unique_ptr<JetFile> MdbJetFile::open(const QString& path, JetStatus& status)
{
    status = JetHeader::probe(path);
    if (!status.ok())
        return nullptr;
    std::unique_ptr<JetFilePath> native = JetFilePath::of(path, status);
    if (!native)
        return nullptr;
    std::unique_ptr<MdbJetFile> file(new MdbJetFile(path, std::move(native)));
    file->m_parts->mdb = mdb_open(file->m_native->native().constData(), MDB_NOFLAGS);
    if (!file->m_parts->mdb) {
        status = JetStatus::failure(JetStatus::Fault::Damaged, path,
                                    QStringLiteral("数据库的首页读不出"));
        return nullptr;
    }
    if (!mdb_read_catalog(file->m_parts->mdb, MDB_TABLE)) {
        status =
            JetStatus::failure(JetStatus::Fault::Damaged, path, QStringLiteral("表的目录读不出"));
        return nullptr;
    }
    return file;
}

namespace {

class TableWalk
{
public:
    TableWalk(MdbTableDef* table, QList<Wanted> wanted, const QString& path,
              const JetFile::RowReader& reader)
        : m_table(table), m_mdb(table->entry->mdb), m_wanted(std::move(wanted)),
          m_fields(table->num_cols), m_path(path), m_reader(reader)
    {
    }

    JetStatus run()
    {
        qint64 seen = 0;
        for (gint32 page = 0;;) {
            page = mdb_map_find_next(m_mdb, m_table->usage_map, guint32(m_table->map_sz),
                                     guint32(page));
            if (page == 0)
                break;
            if (page < 0 || ++seen > kMostPages)
                return damaged(QStringLiteral("表“%1”的页表读不出").arg(name()));
            const JetStatus read = readPage(quint32(page));
            if (!read.ok())
                return read;
        }
        if (m_rows != qint64(m_table->num_rows))
            return damaged(QStringLiteral("表“%1”记着%2行，读出的是%3行")
                               .arg(name())
                               .arg(m_table->num_rows)
                               .arg(m_rows));
        return JetStatus::success();
    }

private:
    QString name() const { return QString::fromUtf8(m_table->name); }

    JetStatus damaged(const QString& detail) const
    {
        return JetStatus::failure(JetStatus::Fault::Damaged, m_path, detail);
    }

    JetStatus pageFault(quint32 page) const
    {
        return damaged(QStringLiteral("表“%1”的第%2页不是它的数据页").arg(name()).arg(page));
    }

    JetStatus readPage(quint32 page)
    {
        if (!readTablePage(m_table, page))
            return pageFault(page);
        const int rows = rowsOnPage(m_mdb);
        if (rows < 0 || rows > m_mdb->fmt->pg_size / 2)
            return pageFault(page);
        for (int row = 0; row < rows; ++row) {
            const unsigned slot = slotOf(m_mdb, row);
            if (slot & kDeletedRow)
                continue;
            const JetStatus read = (slot & kPointerRow) ? readMoved(page, row) : readRow(row);
            if (!read.ok())
                return read;
        }
        return JetStatus::success();
    }

    // A moved row is read at its new place, where its pointer says, and the walk goes on
    // from the page of the pointer.
    JetStatus readMoved(quint32 page, int row)
    {
        quint32 atPage = page;
        int atRow = row;
        for (int move = 0; move < kMostMoves; ++move) {
            int start = 0;
            size_t length = 0;
            if (mdb_find_row(m_mdb, atRow, &start, &length) != 0 || length < 4)
                return pageFault(atPage);
            const quint32 pointer = word32(m_mdb->pg_buf, start & kOffsetMask);
            atPage = pointer >> 8;
            atRow = int(pointer & 0xff);
            if (!readTablePage(m_table, atPage) || atRow >= rowsOnPage(m_mdb))
                return damaged(
                    QStringLiteral("表“%1”第%2页一行的新位置找不到").arg(name()).arg(page));
            const unsigned slot = slotOf(m_mdb, atRow);
            if ((slot & kPointerRow) && !(slot & kDeletedRow))
                continue;
            const JetStatus read = readRow(atRow);
            if (!readTablePage(m_table, page))
                return pageFault(page);
            return read;
        }
        return damaged(QStringLiteral("表“%1”第%2页一行的指针绕了圈").arg(name()).arg(page));
    }

    JetStatus readRow(int row)
    {
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(m_mdb, row, &start, &length) != 0 || length == 0 ||
            mdb_crack_row(m_table, start & kOffsetMask, length, m_fields.data()) < 0)
            return damaged(QStringLiteral("表“%1”的一行拆不开").arg(name()));
        QList<JetValue> values;
        values.reserve(m_wanted.size());
        for (const Wanted& wanted : m_wanted)
            values.append(valueOf(m_mdb, m_fields[size_t(wanted.index)], wanted.type));
        ++m_rows;
        m_reader(values);
        return JetStatus::success();
    }

    MdbTableDef* m_table;
    MdbHandle* m_mdb;
    QList<Wanted> m_wanted;
    std::vector<MdbField> m_fields;
    const QString& m_path;
    const JetFile::RowReader& m_reader;
    qint64 m_rows = 0;
};

} // namespace

JetStatus MdbJetFile::readRows(const QString& table, const QStringList& columns,
                               const RowReader& reader)
{
    QByteArray tableName = table.toUtf8();
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> def(
        mdb_read_table_by_name(m_parts->mdb, tableName.data(), MDB_TABLE), mdb_free_tabledef);
    if (!def)
        return JetStatus::failure(JetStatus::Fault::WrongTables, m_path,
                                  QStringLiteral("其中没有表“%1”").arg(table));
    if (!mdb_read_columns(def.get()))
        return JetStatus::failure(JetStatus::Fault::Damaged, m_path,
                                  QStringLiteral("表“%1”的列读不出").arg(table));
    QList<Wanted> wanted;
    for (const QString& column : columns) {
        bool found = false;
        for (unsigned i = 0; i < def->num_cols; ++i) {
            if (columnName(def.get(), i) != column)
                continue;
            const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
            wanted.append({int(i), col->col_type});
            found = col->col_type == MDB_TEXT || col->col_type == MDB_MEMO ||
                    col->col_type == MDB_MONEY;
            break;
        }
        if (!found)
            return JetStatus::failure(JetStatus::Fault::WrongTables, m_path,
                                      QStringLiteral("表“%1”中没有列“%2”").arg(table, column));
    }
    return TableWalk(def.get(), wanted, m_path, reader).run();
}

} // namespace quilloa
