#pragma once

#include <QString>

namespace quilloa {

// How the maintenance windows turn what the code box holds into the stored pinyin code. The
// code box fills itself from the name (Pinyin::codeOfName) and may then be edited; a code the
// user left out becomes the name itself, so the entry can still be found by typing its name.
class EntryCodeRules
{
public:
    // What the drug window's code box holds when a drug is saved: the name when the box holds
    // nothing but spaces.
    static QString drugCodeBox(const QString& codeBox, const QString& name);
    // The longest code the lists store.
    static constexpr int kCodeLimit = 50;

    // The stored drug code: the code box without leading and trailing spaces, cut to the code
    // column's limit, so that a drug name of up to 200 characters saved without a code of its
    // own still fits.
    static QString storedDrugCode(const QString& codeBox);

    // The code a diagnosis or address is added with: the name when the code box is empty, else
    // the box exactly as it stands, blanks included, because a code found by typing must be the
    // code as the user typed it.
    static QString listCode(const QString& codeBox, const QString& name);

    // Nothing at all, or spaces only.
    static bool isBlank(const QString& text);
    // Without leading and trailing spaces; other white space is part of the text.
    static QString trimSpaces(const QString& text);
};

} // namespace quilloa
