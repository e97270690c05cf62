#include "ui/reports/ClinicLogModel.h"

#include <algorithm>
#include <utility>

namespace quilloa {

// The visit rows are replaced by removing or adding only the difference and telling which cells
// changed. A reset would have the view lay out its headings and scroll bars afresh and paint them
// again at every query, though they stand as they were.
void ClinicLogModel::show(QList<ClinicLogRow> visits)
{
    const int before = rowCount();
    const int after = 1 + std::max(1, int(visits.size()));
    if (after < before)
        beginRemoveRows(QModelIndex(), after, before - 1);
    else if (after > before)
        beginInsertRows(QModelIndex(), before, after - 1);
    m_visits = std::move(visits);
    if (after < before)
        endRemoveRows();
    else if (after > before)
        endInsertRows();
    emit dataChanged(index(1, 0), index(std::min(before, after) - 1, columnCount() - 1));
}

int ClinicLogModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return 1 + std::max(1, int(m_visits.size()));
}

int ClinicLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ClinicLogRow::kColumnCount;
}

QString ClinicLogModel::cellText(int row, int column) const
{
    if (row == 0)
        return m_headings.value(column);
    if (row > m_visits.size())
        return QString();
    // The notes column has no text; it is written by hand.
    if (column >= ClinicLogRow::kFieldCount)
        return QString();
    return m_visits.at(row - 1).text(ClinicLogRow::Field(column));
}

QVariant ClinicLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    return cellText(index.row(), index.column());
}

QVariant ClinicLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headings.value(section);
}

} // namespace quilloa
