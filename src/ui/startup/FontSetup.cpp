#include "ui/startup/FontSetup.h"

#include "ui/common/ChineseFaces.h"

#include <QGuiApplication>

namespace quilloa {

void FontSetup::install()
{
    ChineseFaces::installSubstitutions();
    // Message boxes and other stock dialogs would otherwise fall back to whatever face
    // fontconfig offers for Han text, which on Debian can be the brush-style Kai face.
    QGuiApplication::setFont(ChineseFaces::font(u"宋体", 9));
}

} // namespace quilloa
