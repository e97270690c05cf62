#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace quilloa {

// The edit boxes of a list window, compared with what they held when the entry was last
// loaded, stored or emptied. Escape must not throw away an entry typed since then.
class TypedEntry
{
public:
    explicit TypedEntry(QList<QLineEdit*> boxes);

    // The boxes now hold nothing the user could lose.
    void markKept();
    bool hasUnkeptText() const;

    // True when `event` is the Escape that closes the window and closing would lose typed text
    // the user, asked, wants to keep. Nothing is asked when nothing would be lost.
    bool holdsBackEscape(const QKeyEvent* event, QWidget* window) const;

private:
    QStringList texts() const;

    QList<QPointer<QLineEdit>> m_boxes;
    QStringList m_kept;
};

} // namespace quilloa
