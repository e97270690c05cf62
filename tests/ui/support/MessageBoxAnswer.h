#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace quilloa::test {

// Answers the next modal message boxes (one unless told more) with one of their buttons as soon
// as each shows, and keeps what they said, so that a test can drive code that asks or warns
// without blocking. The accessors describe the last box answered.
class MessageBoxAnswer
{
public:
    explicit MessageBoxAnswer(QMessageBox::StandardButton answer, int boxes = 1)
        : m_answer(answer), m_remaining(boxes)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    bool seen() const { return !m_texts.isEmpty(); }
    const QStringList& texts() const { return m_texts; }
    const QString& title() const { return m_title; }
    const QString& text() const { return m_text; }
    QMessageBox::Icon icon() const { return m_icon; }
    QMessageBox::StandardButtons buttons() const { return m_buttons; }

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_last)
            return;
        m_last = box;
        if (--m_remaining == 0)
            m_timer.stop();
        m_texts << box->text();
        m_title = box->windowTitle();
        m_text = box->text();
        m_icon = box->icon();
        m_buttons = box->standardButtons();
        if (QAbstractButton* button = box->button(m_answer))
            button->click();
        else
            box->reject();
    }

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    int m_remaining;
    QPointer<QMessageBox> m_last;
    QStringList m_texts;
    QString m_title;
    QString m_text;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons m_buttons;
};

} // namespace quilloa::test
