#pragma once

#include <QAbstractItemView>
#include <QStringList>

namespace quilloa::test {

// Reads and drives a list control through its model, as the user sees it, whether the list
// makes an item per line or only the lines on screen.
class ListLines
{
public:
    explicit ListLines(QAbstractItemView* view) : m_view(view) {}

    int count() const { return m_view->model()->rowCount(); }
    QString text(int line) const { return index(line).data().toString(); }
    QStringList texts() const
    {
        QStringList lines;
        for (int line = 0; line < count(); ++line)
            lines << text(line);
        return lines;
    }
    void select(int line) const { m_view->setCurrentIndex(index(line)); }
    // Where to click to hit a line; the list scrolls it into view first.
    QPoint centerOf(int line) const
    {
        m_view->scrollTo(index(line));
        return m_view->visualRect(index(line)).center();
    }

private:
    QModelIndex index(int line) const { return m_view->model()->index(line, 0); }

    QAbstractItemView* m_view;
};

} // namespace quilloa::test
