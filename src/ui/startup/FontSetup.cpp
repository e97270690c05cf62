#include "ui/startup/FontSetup.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace quilloa {

void FontSetup::install()
{
    const QStringList song = {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")};
    const QStringList hei = {QStringLiteral("SimHei"), QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList kai = {QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN"),
                             QStringLiteral("AR PL UKai TW"), QStringLiteral("Noto Serif CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song.mid(1));
    QFont::insertSubstitutions(QStringLiteral("黑体"), hei);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), hei.mid(1));
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("KaiTi"), kai.mid(1));
    // Message boxes and other stock dialogs would otherwise fall back to whatever face
    // fontconfig offers for Han text, which on Debian can be the brush-style Kai face.
    QGuiApplication::setFont(QFont(QStringLiteral("宋体"), 9));
}

} // namespace quilloa
