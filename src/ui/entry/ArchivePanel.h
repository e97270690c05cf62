#pragma once

#include "core/records/PrescriptionRecord.h"
#include "core/startup/AppContext.h"

#include <QFrame>

#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPoint;
class QPushButton;

namespace quilloa {

class ArchiveListModel;
class NameIndexBuilder;

// The archive panel: name and date search boxes, the search button and the archive list, whose
// lines read 姓名[key]. Each line keeps the row it stands for, so acting on a line reaches
// exactly that record even when two records share a key. The list holds every entry found but
// makes only the lines on screen.
class ArchivePanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kOpeningCap = 100;
    // How long after the panel is made the first name search is readied: after the window
    // has been painted, before a hand reaches the search box.
    static constexpr int kPrepareAfterMs = 100;

    explicit ArchivePanel(const AppContext& context, QWidget* parent = nullptr);

    QLineEdit* nameBox() const { return m_nameBox; }
    QLineEdit* dateBox() const { return m_dateBox; }
    QPushButton* searchButton() const { return m_searchButton; }
    QListView* archiveList() const { return m_archiveList; }
    int lineCount() const;
    // The text of a line as shown, 姓名[key]; empty for a line that does not exist.
    QString lineText(int line) const;

    // Clears the list and fills it with the first 100 records in the order they were added.
    void rebuild();
    // Lists every record whose name contains the name box's text and whose visit date begins
    // with the date box's text, in the order they were added. A search that fails leaves the
    // list empty.
    void search();
    // The date box takes today's date, selected, caret at the end.
    void fillToday();
    // Replaces the list by these entries.
    void setEntries(const QList<ArchiveEntry>& entries);
    // Replaces the list by lines for these archive rows, each read when it is shown.
    void setRows(QList<qint64> rows);
    // The entry of the selected line, if a line is selected.
    std::optional<ArchiveEntry> selectedEntry() const;
    // Removes the selected line (after its record was deleted).
    void removeSelectedLine();

signals:
    // A line was clicked, or Return or Space pressed on it: show that stored prescription.
    void entryActivated(const quilloa::ArchiveEntry& entry);
    // Delete pressed on a line: delete its record, after the question.
    void deleteWanted();
    // The right button released over the list, or the menu key pressed in it, while it holds
    // lines: the list's popup menu belongs there, in global coordinates.
    void menuWanted(const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tellFailedSearch(const QString& error);
    void tellFailedList(const QString& error);
    void lineClicked(const QModelIndex& index);
    [[nodiscard]] bool listKeyPressed(const QKeyEvent& key);
    void selectCurrentLine();
    [[nodiscard]] QPoint menuPositionForKeys() const;
    int selectedLine() const;

    AppContext m_context;
    QLabel* m_nameCaption = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QLabel* m_dateCaption = nullptr;
    QLineEdit* m_dateBox = nullptr;
    QPushButton* m_searchButton = nullptr;
    QListView* m_archiveList = nullptr;
    ArchiveListModel* m_lines = nullptr;
    NameIndexBuilder* m_indexBuilder = nullptr;
};

} // namespace quilloa
