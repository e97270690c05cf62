#pragma once

#include <QLabel>

namespace quilloa {

// A caption on the on-screen sheet or card, set exactly as it prints (see DescribedText): its
// box is the described text's width and one em high, the baseline lies where the described
// face puts it, so a stand-in face with a taller ascent cannot push the glyphs onto a rule or
// frame below. Plain text only.
class DescribedTextLabel : public QLabel
{
    Q_OBJECT
public:
    explicit DescribedTextLabel(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The em in pixels: the sheet is drawn at 15 twips a pixel, 20 twips a point.
    double emPixels() const;
};

} // namespace quilloa
