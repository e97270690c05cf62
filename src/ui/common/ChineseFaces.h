#pragma once

#include <QFont>
#include <QStringList>
#include <QStringView>

namespace quilloa {

// The installed fonts that stand for the classic face names the windows, the sheet and the
// printouts use (宋体, 黑体, 楷体_GB2312). Each name is given its families explicitly, in our
// own order of preference, from what is installed: otherwise fontconfig's choice for Han text
// would decide, and that changes with every Chinese font a PC happens to have (a Hei face taller
// than the sheet's, say), moving and cutting the windows' texts.
class ChineseFaces
{
public:
    // The installed families for a classic name, best first; for another name, that name.
    [[nodiscard]] static QStringList familiesFor(QStringView classicName);
    // A font of the classic face at this size, its families chosen as above.
    [[nodiscard]] static QFont font(QStringView classicName, double pointSize, bool bold = false);
    // The same font with its families chosen for this face name.
    [[nodiscard]] static QFont withFace(const QFont& font, QStringView classicName);
    // Makes the classic names (and the Windows names for them) resolve to the same families
    // wherever a font names them by text: a printout's face, a stored body's font table.
    static void installSubstitutions();
};

} // namespace quilloa
