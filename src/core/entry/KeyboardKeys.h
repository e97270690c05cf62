#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// What the keys of the on-screen keyboard and of the usage key bar type. Where they stand and
// how they look belongs to the windows.
namespace quilloa::keyboard {

// The character keys, in key order: digits, then letters.
inline constexpr int kCharacterKeyCount = 36;
inline constexpr QStringView kCharacters = u"1234567890abcdefghijklmnopqrstuvwxyz";

// The character key `index` types; nothing for an index off the keyboard.
QChar characterOf(int index);

// A usage key types its caption. A caption holding "用法：" is a whole usage line: it is inserted
// with a line end (CR LF).
bool isUsageLine(QStringView caption);
QString insertedText(QStringView caption);

} // namespace quilloa::keyboard
