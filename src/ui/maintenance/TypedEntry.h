#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>

class QCloseEvent;
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
    // The same for the close box: true, with the event ignored, when the user keeps the
    // window. Only the user's own close asks; the program closing the window (a restore
    // replaced the stores, the program ends) drops the entry as before.
    bool holdsBackClose(QCloseEvent* event, QWidget* window) const;

    // Asks whether the typed text may be dropped with the window; true when the user keeps
    // typing. Windows whose typed state is not a set of boxes ask through this too.
    static bool userKeepsTyping(QWidget* window);
    // Whether a close event is the user's, by the close box, on a window still in view.
    static bool isUserClose(const QCloseEvent* event, const QWidget* window);

private:
    QStringList texts() const;

    QList<QPointer<QLineEdit>> m_boxes;
    QStringList m_kept;
};

} // namespace quilloa
