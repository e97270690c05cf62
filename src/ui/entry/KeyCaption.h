#pragma once

#include <QLabel>

namespace quilloa {

// The caption on a key face. Its letters are centred on the part of the key that shows, by
// their capital height rather than by the font's line height: a face with a tall line (as the
// substitutes for 宋体 have) would otherwise push the letters off the bottom of a small key.
class KeyCaption : public QLabel
{
    Q_OBJECT
public:
    KeyCaption(const QString& text, QWidget* key);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quilloa
