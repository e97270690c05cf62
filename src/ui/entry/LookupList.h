#pragma once

#include <QListWidget>

namespace quilloa {

// The drop-down list under the diagnosis or address field. A click on an entry or Enter picks.
class LookupList : public QListWidget
{
    Q_OBJECT
public:
    explicit LookupList(QWidget* parent = nullptr);

    // The selected entry's text; empty when nothing is selected.
    QString selectedText() const;
    bool hasSelection() const;

signals:
    void picked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace quilloa
