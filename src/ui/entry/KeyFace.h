#pragma once

#include <QLabel>
#include <QPixmap>

namespace quilloa {

// One key of the on-screen keyboard: a face picture that looks pressed while a mouse button
// is held on it. It never takes the focus, so a keystroke it causes reaches the field the
// doctor is writing in.
class KeyFace : public QLabel
{
    Q_OBJECT
public:
    KeyFace(const QPixmap& releasedFace, const QPixmap& pressedFace, QWidget* parent = nullptr);

    bool isPressed() const { return m_pressed; }

    // A face of our own drawing: a raised key at rest, a sunken one while pressed.
    static QPixmap drawFace(QSize size, bool pressed);

signals:
    // A mouse button was let go after pressing this key.
    void released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showFace(bool pressed);

    QPixmap m_releasedFace;
    QPixmap m_pressedFace;
    bool m_pressed = false;
};

} // namespace quilloa
