#pragma once

#include <QFrame>

namespace quilloa {

class EntryFocusMemory;

// The on-screen keyboard "软键盘输入": digits and letters typed into the field used last.
class KeyboardPanel : public QFrame
{
    Q_OBJECT
public:
    explicit KeyboardPanel(EntryFocusMemory* focusMemory, QWidget* parent = nullptr);

private:
    EntryFocusMemory* m_focusMemory = nullptr;
};

} // namespace quilloa
