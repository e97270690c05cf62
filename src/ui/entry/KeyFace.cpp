#include "ui/entry/KeyFace.h"

#include <QMouseEvent>
#include <QPainter>

namespace quilloa {

KeyFace::KeyFace(const QPixmap& releasedFace, const QPixmap& pressedFace, QWidget* parent)
    : QLabel(parent), m_releasedFace(releasedFace), m_pressedFace(pressedFace)
{
    setFocusPolicy(Qt::NoFocus);
    setPixmap(m_releasedFace);
}

QPixmap KeyFace::drawFace(QSize size, bool pressed)
{
    QPixmap face(size);
    face.fill(pressed ? QColor(200, 224, 224) : QColor(236, 244, 244));
    QPainter painter(&face);
    const QRect edge = face.rect().adjusted(0, 0, -1, -1);
    const QColor light(Qt::white);
    const QColor dark(96, 128, 128);
    // Light from the top left: a raised key is bright there, a pressed key dark.
    painter.setPen(pressed ? dark : light);
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(pressed ? light : dark);
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
    return face;
}

void KeyFace::mousePressEvent(QMouseEvent* event)
{
    showFace(true);
    event->accept();
}

// Any button counts, and the key acts even when the pointer left it while held.
void KeyFace::mouseReleaseEvent(QMouseEvent* event)
{
    showFace(false);
    event->accept();
    emit released();
}

void KeyFace::showFace(bool pressed)
{
    m_pressed = pressed;
    setPixmap(pressed ? m_pressedFace : m_releasedFace);
}

} // namespace quilloa
