#pragma once

#include <QFrame>
#include <QPixmap>

#include <array>

class QLabel;

namespace quilloa {

class EntryFocusMemory;
class KeyFace;

// The on-screen keyboard "软键盘输入": digits and lower-case letters typed into the entry field
// used last, and Backspace and Enter keys sent to the control that has the focus. Nothing on
// the panel ever takes the focus.
class KeyboardPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kCharacterKeys = 36;

    explicit KeyboardPanel(EntryFocusMemory* focusMemory, QWidget* parent = nullptr);

    KeyFace* characterKey(int index) const { return m_characterKeys.at(index); }
    KeyFace* backspaceKey() const { return m_backspaceKey; }
    KeyFace* enterKey() const { return m_enterKey; }

    // Types `character` into the last rich field when a rich field was used last, else into the
    // last plain field, as a keystroke would, then gives that field the focus. Before any entry
    // field had the focus there is no target and nothing happens.
    void typeCharacter(QChar character);
    // Sends one keystroke to the control that has the focus, if any.
    static void sendToFocused(Qt::Key key, const QString& text);

private:
    void buildTitle();
    void buildCharacterKeys();
    void buildWideKeys();
    KeyFace* makeKey(const QPixmap& released, const QPixmap& pressed, const QRect& place);
    QLabel* makeCaption(const QString& text, const QRect& place, QWidget* key);
    QWidget* typingTarget() const;

    EntryFocusMemory* m_focusMemory = nullptr;
    // The key face pictures: small and wide, released and pressed.
    QPixmap m_smallReleased;
    QPixmap m_smallPressed;
    QPixmap m_wideReleased;
    QPixmap m_widePressed;
    std::array<KeyFace*, kCharacterKeys> m_characterKeys{};
    KeyFace* m_backspaceKey = nullptr;
    KeyFace* m_enterKey = nullptr;
};

} // namespace quilloa
