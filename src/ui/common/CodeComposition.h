#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace quilloa {

// Makes a box where pinyin initials are typed work the same with a Chinese input method on or
// off. A committed text is cleaned of the composition's syllable spaces before the box takes
// it; while the doctor composes, the lookup follows the letters being composed; and an Enter
// that the input method took to end a composition still does what Enter does in the box.
// The input method cannot be switched off from here (it ignores the hints), so it is worked
// with instead.
class CodeComposition : public QObject
{
    Q_OBJECT
public:
    // Watches `box` for as long as it lives.
    static CodeComposition* watch(QLineEdit* box);

    // The text to look up now: the box's text with the letters being composed at the caret.
    QString lookupText() const;

signals:
    // The letters being composed changed, or the composition ended without changing the text;
    // `lookupText` is what the list should show now. Changes of the text itself come as the
    // box's textChanged.
    void composing(const QString& lookupText);
    // The input method closed a composition the doctor had left, after the focus moved on.
    void committedAway();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CodeComposition(QLineEdit* box);

    void deliverComposition(QEvent* event);
    void keyArrived(QEvent* event);

    QLineEdit* m_box;
    QString m_letters;    // being composed, blanks removed
    QString m_lastLookup; // what the list was last asked for
    bool m_delivering = false;
    bool m_committedSinceKey = false;
};

} // namespace quilloa
