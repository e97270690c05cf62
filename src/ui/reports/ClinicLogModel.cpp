#include "ui/reports/ClinicLogModel.h"

#include <algorithm>
#include <utility>

namespace quilloa {

void ClinicLogModel::show(QList<ClinicLogRow> visits)
{
    beginResetModel();
    m_visits = std::move(visits);
    endResetModel();
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
