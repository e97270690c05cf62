#pragma once

#include "core/maintenance/ReferenceLines.h"

#include <QListView>

#include <optional>

namespace quilloa {

class ReferenceListModel;

// The list `List1` of a maintenance window: one line per entry, each line keeping the row of
// its entry. A refill is one model reset over the entries read, and only the lines on screen
// are ever made, so thousands of lines appear at once and a keystroke in the search box never
// waits on the event loop.
class ReferenceListView : public QListView
{
    Q_OBJECT
public:
    explicit ReferenceListView(QWidget* parent = nullptr);

    // Replaces every line; no line is selected afterwards.
    void showEntries(QList<ReferenceEntry> entries);
    // Adds a line at the end and selects it.
    void appendEntry(const ReferenceEntry& entry);
    void selectLine(int line);

    int lineCount() const;
    // The selected line, -1 when none is.
    int selectedLine() const;
    std::optional<ReferenceEntry> entryAt(int line) const;
    std::optional<ReferenceEntry> selectedEntry() const { return entryAt(selectedLine()); }

signals:
    // A line became the selected one, by mouse, keyboard or selectLine.
    void lineSelected(int line);
    // The right button was let go over the list while it held at least one line.
    void popupWanted(const QPoint& globalPosition);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void announceSelection();

    ReferenceListModel* m_model = nullptr;
};

} // namespace quilloa
