#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QTextEdit>

namespace quilloa {

// Remembers which entry field the doctor used last, so the on-screen keyboard can type into it:
// the last one-line field, the last rich text box, and which of the two had the focus last.
class EntryFocusMemory : public QObject
{
    Q_OBJECT
public:
    explicit EntryFocusMemory(QObject* parent = nullptr);

    // Starts recording focus entries of a field.
    void watchPlain(QLineEdit* field);
    void watchRich(QTextEdit* box);

    void recordPlain(QLineEdit* field);
    void recordRich(QTextEdit* box);

    QLineEdit* lastPlain() const { return m_lastPlain; }
    QTextEdit* lastRich() const { return m_lastRich; }
    bool richActive() const { return m_richActive; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QLineEdit> m_lastPlain;
    QPointer<QTextEdit> m_lastRich;
    bool m_richActive = false;
};

} // namespace quilloa
