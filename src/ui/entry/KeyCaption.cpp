#include "ui/entry/KeyCaption.h"

#include "ui/common/InkFit.h"

#include <QPainter>

namespace quilloa {
namespace {

// Clear space kept between a caption's ink and the edges of its key face.
// Kept clear inside the key face, whose bevel is one pixel wide on every side.
constexpr int kSideMargin = 2;
constexpr int kTopBottomMargin = 2;

} // namespace

KeyCaption::KeyCaption(const QString& text, QWidget* key) : QLabel(text, key)
{
    setFocusPolicy(Qt::NoFocus);
    // Presses on the caption belong to the key under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRectF KeyCaption::room() const
{
    const QRect face = parentWidget() ? parentWidget()->rect().translated(-pos()) : rect();
    return QRectF(face).adjusted(kSideMargin, kTopBottomMargin, -kSideMargin, -kTopBottomMargin) &
           QRectF(rect());
}

void KeyCaption::paintEvent(QPaintEvent* /*event*/)
{
    // The blanks that pad a caption such as " Enter" are not centred with it.
    const QString caption = text().trimmed();
    const QRectF space = room();
    const QFont face = InkFit::fitted(font(), InkFit::Lines::Latin, caption, space.size());
    QPainter painter(this);
    painter.setFont(face);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(InkFit::centredOrigin(face, InkFit::Lines::Latin, caption, space), caption);
}

} // namespace quilloa
