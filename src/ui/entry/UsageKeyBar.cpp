#include "ui/entry/UsageKeyBar.h"

#include "ui/common/Twips.h"
#include "ui/entry/BodyEditing.h"
#include "ui/entry/KeyboardLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextEdit>

#include <algorithm>

namespace quilloa {
namespace {

const char* const kCaptionProperty = "usageCaption";

// The key at its left and top, at least as large as its caption: where the installed face is
// wider than the one the sizes were made for, a caption stays whole.
QRect placeOf(const keyboard::UsageKey& shape, const QFontMetrics& metrics)
{
    QRect place =
        twipsRect(shape.left, keyboard::kUsageKeyTop, shape.width, keyboard::kUsageKeyHeight);
    place.setWidth(std::max(place.width(), metrics.horizontalAdvance(shape.caption.toString())));
    place.setHeight(std::max(place.height(), metrics.height()));
    return place;
}

} // namespace

UsageKeyBar::UsageKeyBar(QTextEdit* body, QLineEdit* drugSearchBox, QWidget* parent)
    : QFrame(parent), m_body(body), m_drugSearchBox(drugSearchBox)
{
    setObjectName(QStringLiteral("Picture3"));
    setFocusPolicy(Qt::NoFocus);
    resize(twipsToPixels(keyboard::kUsageBarSize.width),
           twipsToPixels(keyboard::kUsageBarSize.height));
    QList<QLabel*> abbreviations;
    for (const keyboard::UsageKey& shape : keyboard::kUsageKeys) {
        auto* key = new QLabel(shape.caption.toString(), this);
        key->setObjectName(QStringLiteral("Label5_%1").arg(shape.index));
        key->setGeometry(placeOf(shape, key->fontMetrics()));
        key->setProperty(kCaptionProperty, shape.caption.toString());
        key->setCursor(Qt::PointingHandCursor);
        key->setFocusPolicy(Qt::NoFocus);
        key->installEventFilter(this);
        if (!keyboard::isUsageLine(shape.caption))
            abbreviations << key;
    }
    // A usage line's label starts with blanks and overlaps its short neighbours ("×", "皮试");
    // where they overlap, the short key is the one under the pointer.
    for (QLabel* key : abbreviations)
        key->raise();
}

QLabel* UsageKeyBar::key(int index) const
{
    return findChild<QLabel*>(QStringLiteral("Label5_%1").arg(index), Qt::FindDirectChildrenOnly);
}

void UsageKeyBar::useKey(const QString& caption)
{
    // Through the body's focus, so it becomes the last rich field, as a click into it would.
    m_body->setFocus(Qt::OtherFocusReason);
    BodyEditing::insertAtCaret(m_body, keyboard::insertedText(caption));
    m_drugSearchBox->setFocus(Qt::OtherFocusReason);
}

// A click is a left button let go over the key it was pressed on.
bool UsageKeyBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* key = qobject_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (key && mouse->button() == Qt::LeftButton &&
            key->rect().contains(mouse->position().toPoint())) {
            useKey(key->property(kCaptionProperty).toString());
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace quilloa
