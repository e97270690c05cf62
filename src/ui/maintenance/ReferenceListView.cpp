#include "ui/maintenance/ReferenceListView.h"

#include "ui/maintenance/ReferenceListModel.h"

#include <QMouseEvent>

#include <utility>

namespace quilloa {

ReferenceListView::ReferenceListView(QWidget* parent)
    : QListView(parent), m_model(new ReferenceListModel(this))
{
    setObjectName(QStringLiteral("List1"));
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is one line of text: the view then lays out 20,000 lines without measuring.
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ReferenceListView::announceSelection);
}

void ReferenceListView::showEntries(QList<ReferenceEntry> entries)
{
    m_model->reset(std::move(entries));
}

void ReferenceListView::appendEntry(const ReferenceEntry& entry)
{
    m_model->append(entry);
    selectLine(m_model->rowCount() - 1);
}

int ReferenceListView::lineCount() const
{
    return m_model->rowCount();
}

std::optional<ReferenceEntry> ReferenceListView::entryAt(int line) const
{
    return m_model->lines().at(line);
}

void ReferenceListView::selectLine(int line)
{
    const QModelIndex index = m_model->index(line);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

int ReferenceListView::selectedLine() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ReferenceListView::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton && lineCount() > 0)
        emit popupWanted(event->globalPosition().toPoint());
}

void ReferenceListView::announceSelection()
{
    const int line = selectedLine();
    if (line >= 0)
        emit lineSelected(line);
}

} // namespace quilloa
