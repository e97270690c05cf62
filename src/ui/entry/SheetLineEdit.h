#pragma once

#include <QLineEdit>
#include <QPointer>

namespace quilloa {

// One of the nine one-line fields of the prescription sheet (Text4). It knows its index, keeps
// the typing limit of its index, turns Enter into a move to the next control of the way a sheet
// is filled in (by default the next of the tab order), and reports focus, clicks and the Down key
// to the sheet, which acts on them by index.
class SheetLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    SheetLineEdit(int index, int typingLimit, QWidget* parent = nullptr);

    int index() const { return m_index; }
    int typingLimit() const { return m_typingLimit; }
    // Where Enter leads from this field; none: the next control of the tab order.
    void setEnterTarget(QWidget* next) { m_enterTarget = next; }

signals:
    void focused(int index);
    void clicked(int index);
    // Down never reaches the field; the sheet decides where it leads.
    void downPressed(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Runs a user's edit with the typing limit in force.
    template <class Edit> void typed(Edit edit);
    void pasteWhatFits();
    // How many more characters typing may add in place of the selection.
    int room() const;

    int m_index;
    int m_typingLimit;
    int m_acceptedLength = 0;
    bool m_typing = false;
    QPointer<QWidget> m_enterTarget;
};

} // namespace quilloa
