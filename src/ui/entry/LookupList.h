#pragma once

#include <QListView>

namespace quilloa {

class StoredNames;
class StoredNamesModel;

// The drop-down list under the diagnosis or address field. A click on an entry or Enter picks.
// It holds the names as they were read and converts only the lines it draws, so refilling it
// with thousands of names at every keystroke stays instant.
class LookupList : public QListView
{
    Q_OBJECT
public:
    explicit LookupList(QWidget* parent = nullptr);

    void setNames(StoredNames names);
    void clear();
    int count() const;

    void setCurrentRow(int row);
    bool hasSelection() const;
    // The selected entry's text; empty when nothing is selected.
    QString selectedText() const;

signals:
    void picked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    StoredNamesModel* m_names = nullptr;
};

} // namespace quilloa
