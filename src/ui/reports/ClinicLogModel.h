#pragma once

#include "core/reports/ClinicLogRow.h"

#include <QAbstractTableModel>
#include <QList>

namespace quilloa {

// The clinic log's grid: row 0 holds the headings, the way the printout reads the register, and
// one row per visit follows; without visits a single empty row stands under the headings. The
// view asks only for the cells it lays out and paints, so a month of thousands of visits costs
// no more to show than the screenful in view.
class ClinicLogModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows these visits in place of the ones shown before.
    void show(QList<ClinicLogRow> visits);
    const QList<ClinicLogRow>& visits() const { return m_visits; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // A cell's text as the register prints it; empty where the grid shows nothing.
    QString cellText(int row, int column) const;

private:
    QList<ClinicLogRow> m_visits;
    QStringList m_headings = ClinicLogRow::headings();
};

} // namespace quilloa
