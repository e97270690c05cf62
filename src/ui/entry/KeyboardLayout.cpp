#include "ui/entry/KeyboardLayout.h"

namespace quilloa::keyboard {

TwipRect characterKeyRect(int index)
{
    if (index < 0 || index >= kCharacterKeyCount)
        return {};
    const int row = index / kKeysPerRow;
    const int column = index % kKeysPerRow;
    return {kFirstKeyLeft + kKeyPitch * column, kRowTops.at(row), kSmallKeyWidth, kKeyHeight};
}

} // namespace quilloa::keyboard
