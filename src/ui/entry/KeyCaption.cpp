#include "entry/KeyCaption.h"

#include <QPainter>

#include <algorithm>

namespace quilloa {

KeyCaption::KeyCaption(const QString& text, QWidget* key) : QLabel(text, key)
{
    setFocusPolicy(Qt::NoFocus);
    // Presses on the caption belong to the key under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void KeyCaption::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetricsF metrics(font());
    const double shown =
        parentWidget() ? std::min<double>(height(), parentWidget()->height() - y()) : height();
    const double left = (width() - metrics.horizontalAdvance(text())) / 2.0;
    const double baseline = (shown + metrics.capHeight()) / 2.0;
    painter.drawText(QPointF(left, baseline), text());
}

} // namespace quilloa
