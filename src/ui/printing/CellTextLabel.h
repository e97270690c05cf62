#pragma once

#include <QLabel>

namespace quilloa {

// A caption on the on-screen sheet or card, set exactly as it prints (see CellText): its
// box is the text's width in the sheet face and one em high, the baseline lies where the sheet
// face puts it, so a stand-in face with a taller ascent cannot push the glyphs onto a rule or
// frame below. Plain text only.
class CellTextLabel : public QLabel
{
    Q_OBJECT
public:
    explicit CellTextLabel(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The em in pixels: the sheet is drawn at 15 twips a pixel, 20 twips a point.
    double emPixels() const;
};

} // namespace quilloa
