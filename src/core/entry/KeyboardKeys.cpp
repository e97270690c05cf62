#include "core/entry/KeyboardKeys.h"

#include "core/entry/DrugEntryText.h"

namespace quilloa::keyboard {

QChar characterOf(int index)
{
    if (index < 0 || index >= kCharacterKeyCount)
        return {};
    return kCharacters.at(index);
}

bool isUsageLine(QStringView caption)
{
    return caption.contains(u"用法：");
}

QString insertedText(QStringView caption)
{
    const QString text = caption.toString();
    return isUsageLine(caption) ? text + DrugEntryText::kLineEnd : text;
}

} // namespace quilloa::keyboard
