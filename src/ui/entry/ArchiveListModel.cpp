#include "entry/ArchiveListModel.h"

#include <utility>

namespace quilloa {

ArchiveListModel::ArchiveListModel(QObject* parent) : QAbstractListModel(parent) {}

void ArchiveListModel::setEntries(QList<ArchiveEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void ArchiveListModel::clear()
{
    setEntries({});
}

int ArchiveListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant ArchiveListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_entries.size()))
        return {};
    const ArchiveEntry& entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return entry.text();
    case kEntryRole:
        return QVariant::fromValue(entry);
    default:
        return {};
    }
}

bool ArchiveListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > int(m_entries.size()))
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_entries.remove(row, count);
    endRemoveRows();
    return true;
}

} // namespace quilloa
