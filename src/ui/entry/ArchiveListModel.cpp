#include "ui/entry/ArchiveListModel.h"

#include <QMetaObject>

#include <utility>

namespace quilloa {

ArchiveListModel::ArchiveListModel(QObject* parent) : QAbstractListModel(parent) {}

void ArchiveListModel::setEntries(const QList<ArchiveEntry>& entries)
{
    beginResetModel();
    m_store.reset();
    m_pagedSearch.reset();
    m_rows.clear();
    m_read.clear();
    m_rows.reserve(entries.size());
    for (int line = 0; line < int(entries.size()); ++line) {
        m_rows.append(entries.at(line).rowId);
        m_read.insert(line, entries.at(line));
    }
    endResetModel();
}

void ArchiveListModel::setRows(const ArchiveStore& store, QList<qint64> rows)
{
    beginResetModel();
    m_store = store;
    m_pagedSearch.reset();
    m_rows = std::move(rows);
    m_read.clear();
    m_failureTold = false;
    endResetModel();
}

void ArchiveListModel::setFirstPage(const ArchiveStore& store, const QString& nameText,
                                    const QString& datePrefix, QList<qint64> rows)
{
    const bool more = rows.size() >= kPage;
    const qint64 end = rows.isEmpty() ? 0 : rows.last();
    setRows(store, std::move(rows));
    if (more)
        m_pagedSearch = PagedSearch{nameText, datePrefix, end};
}

bool ArchiveListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_store && m_pagedSearch;
}

void ArchiveListModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const auto found = m_store->searchRowsAfter(m_pagedSearch->nameText, m_pagedSearch->datePrefix,
                                                m_pagedSearch->lastRow, kPage);
    // A failed read is tried again when the list is next scrolled to its end.
    if (!found.ok()) {
        tellFailure(found.error());
        return;
    }
    if (found.value().size() < kPage)
        m_pagedSearch.reset();
    if (found.value().isEmpty())
        return;
    if (m_pagedSearch)
        m_pagedSearch->lastRow = found.value().last();
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(found.value().size()) - 1);
    m_rows.append(found.value());
    endInsertRows();
}

void ArchiveListModel::clear()
{
    setEntries({});
}

void ArchiveListModel::readBlock(int line) const
{
    if (!m_store)
        return;
    const int first = line - line % kBlock;
    const QList<qint64> rows = m_rows.mid(first, kBlock);
    const auto found = m_store->entriesOf(rows);
    // A failed read is tried again the next time the line is asked for.
    if (!found.ok()) {
        tellFailure(found.error());
        return;
    }
    QHash<qint64, ArchiveEntry> byRow;
    for (const ArchiveEntry& entry : found.value())
        byRow.insert(entry.rowId, entry);
    for (int i = 0; i < int(rows.size()); ++i) {
        const auto entry = byRow.constFind(rows.at(i));
        m_read.insert(first + i,
                      entry == byRow.cend() ? std::nullopt : std::optional<ArchiveEntry>(*entry));
    }
}

void ArchiveListModel::tellFailure(const QString& error) const
{
    if (m_failureTold)
        return;
    m_failureTold = true;
    // Asked from within the view's painting, which a message box must not interrupt.
    auto* self = const_cast<ArchiveListModel*>(this);
    QMetaObject::invokeMethod(
        self, [self, error] { emit self->readFailed(error); }, Qt::QueuedConnection);
}

std::optional<ArchiveEntry> ArchiveListModel::entryAt(int line) const
{
    if (line < 0 || line >= int(m_rows.size()))
        return std::nullopt;
    if (!m_read.contains(line))
        readBlock(line);
    return m_read.value(line);
}

int ArchiveListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ArchiveListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != kEntryRole))
        return {};
    const std::optional<ArchiveEntry> entry = entryAt(index.row());
    if (!entry)
        return {};
    return role == kEntryRole ? QVariant::fromValue(*entry) : QVariant(entry->text());
}

bool ArchiveListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > int(m_rows.size()))
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_rows.remove(row, count);
    QHash<int, std::optional<ArchiveEntry>> kept;
    for (auto it = m_read.cbegin(); it != m_read.cend(); ++it) {
        if (it.key() < row)
            kept.insert(it.key(), it.value());
        else if (it.key() >= row + count)
            kept.insert(it.key() - count, it.value());
    }
    m_read = std::move(kept);
    endRemoveRows();
    return true;
}

} // namespace quilloa
