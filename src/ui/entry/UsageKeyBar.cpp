#include "entry/UsageKeyBar.h"

#include "common/Twips.h"

namespace quilloa {

UsageKeyBar::UsageKeyBar(QTextEdit* body, QLineEdit* drugSearchBox, QWidget* parent)
    : QFrame(parent), m_body(body), m_drugSearchBox(drugSearchBox)
{
    setObjectName(QStringLiteral("Picture3"));
    resize(twipsToPixels(11535), twipsToPixels(375));
}

} // namespace quilloa
