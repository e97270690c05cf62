#include "entry/KeyboardPanel.h"

#include "common/Twips.h"

namespace quilloa {

KeyboardPanel::KeyboardPanel(EntryFocusMemory* focusMemory, QWidget* parent)
    : QFrame(parent), m_focusMemory(focusMemory)
{
    setObjectName(QStringLiteral("Picture6"));
    resize(twipsToPixels(3915), twipsToPixels(1755));
}

} // namespace quilloa
