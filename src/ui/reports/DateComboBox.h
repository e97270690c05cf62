#pragma once

#include <QComboBox>

namespace quilloa {

// One of the report windows' year, month or day boxes: an editable drop-down that takes any
// text. Picking an entry puts it into the text; typing is never completed or added to the list,
// so "3" stays "3" rather than becoming "03" or "30".
class DateComboBox : public QComboBox
{
    Q_OBJECT
public:
    // objectName "Combo1_<index>".
    DateComboBox(int index, const QStringList& entries, const QString& text, QWidget* parent);

signals:
    // Enter typed in the box; the window runs the query the box belongs to, never another.
    void entered();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] bool takeEnter(QKeyEvent* event);
};

} // namespace quilloa
