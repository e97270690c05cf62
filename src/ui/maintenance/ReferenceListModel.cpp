#include "ui/maintenance/ReferenceListModel.h"

#include <utility>

namespace quilloa {

ReferenceListModel::ReferenceListModel(QObject* parent) : QAbstractListModel(parent) {}

void ReferenceListModel::reset(QList<ReferenceEntry> entries)
{
    beginResetModel();
    m_lines.reset(std::move(entries));
    endResetModel();
}

void ReferenceListModel::append(const ReferenceEntry& entry)
{
    const int line = m_lines.size();
    beginInsertRows(QModelIndex(), line, line);
    m_lines.append(entry);
    endInsertRows();
}

int ReferenceListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_lines.size();
}

QVariant ReferenceListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const std::optional<ReferenceEntry> entry = m_lines.at(index.row());
    return entry ? QVariant(entry->name()) : QVariant();
}

} // namespace quilloa
