#pragma once

#include <QLabel>

namespace quilloa {

// The caption on a key face. Its letters are centred on the part of the key that shows, by
// their ink rather than by the font's line box, and drawn smaller where the face in use would
// not fit: descenders and a long caption such as "Enter" stay clear of the key's edges.
class KeyCaption : public QLabel
{
    Q_OBJECT
public:
    KeyCaption(const QString& text, QWidget* key);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The inside of the key face, less a margin at each edge, as far as the caption covers it.
    QRectF room() const;
};

} // namespace quilloa
