#include "ui/entry/StoredNamesModel.h"

#include <utility>

namespace quilloa {

StoredNamesModel::StoredNamesModel(QObject* parent) : QAbstractListModel(parent) {}

void StoredNamesModel::reset(StoredNames names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

int StoredNamesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant StoredNamesModel::data(const QModelIndex& index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() ||
        index.row() >= m_names.size())
        return {};
    return m_names.at(index.row());
}

} // namespace quilloa
