#include "ui/common/ChineseFaces.h"

#include <QFontDatabase>
#include <QHash>

#include <array>
#include <mutex>

namespace quilloa {
namespace {

struct Face
{
    QStringView classicName;
    QStringView windowsName;
    // The Windows face first, then the Debian fonts the program depends on; a Hei or Kai face
    // missing altogether is better drawn in the Song face than in whatever fontconfig offers.
    std::array<QStringView, 5> candidates;
};

constexpr std::array<Face, 3> kFaces{{
    {u"宋体",
     u"SimSun",
     {u"SimSun", u"Noto Serif CJK SC", u"AR PL UMing CN", u"Noto Sans CJK SC",
      u"WenQuanYi Zen Hei"}},
    {u"黑体",
     u"SimHei",
     {u"SimHei", u"Noto Sans CJK SC", u"WenQuanYi Zen Hei", u"Noto Serif CJK SC",
      u"AR PL UMing CN"}},
    {u"楷体_GB2312",
     u"KaiTi",
     {u"KaiTi", u"AR PL UKai CN", u"AR PL UKai TW", u"Noto Serif CJK SC", u"AR PL UMing CN"}},
}};

const Face* faceNamed(QStringView name)
{
    for (const Face& face : kFaces) {
        if (name == face.classicName || name == face.windowsName)
            return &face;
    }
    return nullptr;
}

// Looked up among the installed families by name: hasFamily() would let fontconfig's aliases
// answer for a face that is not there.
QStringList installedCandidates(const Face& face, const QStringList& installedFamilies)
{
    QStringList installed;
    for (QStringView candidate : face.candidates) {
        if (installedFamilies.contains(candidate.toString(), Qt::CaseInsensitive))
            installed << candidate.toString();
    }
    if (installed.isEmpty())
        installed << face.classicName.toString();
    return installed;
}

} // namespace

QStringList ChineseFaces::familiesFor(QStringView classicName)
{
    const Face* face = faceNamed(classicName);
    if (!face)
        return {classicName.toString()};
    // The installed fonts do not change while the program runs; asking once per face keeps
    // the font database out of every window's construction.
    static std::once_flag chosen;
    static QHash<QString, QStringList> families;
    std::call_once(chosen, [] {
        const QStringList installedFamilies = QFontDatabase::families();
        for (const Face& each : kFaces) {
            const QStringList installed = installedCandidates(each, installedFamilies);
            families.insert(each.classicName.toString(), installed);
            // A face named by text (a printout's, a stored body's) resolves the same way as
            // soon as any window has asked for one.
            for (QStringView name : {each.classicName, each.windowsName}) {
                if (!installed.contains(name.toString()))
                    QFont::insertSubstitutions(name.toString(), installed);
            }
        }
    });
    return families.value(face->classicName.toString());
}

QFont ChineseFaces::font(QStringView classicName, double pointSize, bool bold)
{
    QFont chosen = withFace(QFont(), classicName);
    chosen.setPointSizeF(pointSize);
    chosen.setBold(bold);
    return chosen;
}

QFont ChineseFaces::withFace(const QFont& font, QStringView classicName)
{
    QFont chosen = font;
    chosen.setFamilies(familiesFor(classicName));
    return chosen;
}

void ChineseFaces::installSubstitutions()
{
    (void)familiesFor(kFaces.front().classicName);
}

} // namespace quilloa
