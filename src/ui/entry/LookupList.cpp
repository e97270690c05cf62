#include "ui/entry/LookupList.h"

#include "ui/entry/StoredNamesModel.h"

#include <QKeyEvent>

#include <utility>

namespace quilloa {

LookupList::LookupList(QWidget* parent) : QListView(parent), m_names(new StoredNamesModel(this))
{
    setModel(m_names);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Reached by the Down key only, never by Tab or Enter moving along the tab order.
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QListView::clicked, this, [this] { emit picked(); });
}

void LookupList::setNames(StoredNames names)
{
    m_names->reset(std::move(names));
}

void LookupList::clear()
{
    m_names->reset({});
}

int LookupList::count() const
{
    return m_names->rowCount();
}

void LookupList::setCurrentRow(int row)
{
    setCurrentIndex(m_names->index(row));
}

bool LookupList::hasSelection() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current);
}

QString LookupList::selectedText() const
{
    return hasSelection() ? currentIndex().data().toString() : QString();
}

void LookupList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit picked();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace quilloa
