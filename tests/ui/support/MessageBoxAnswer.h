#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>

namespace quilloa::test {

// Answers the next modal message box with one of its buttons as soon as it shows, and keeps
// what it said, so that a test can drive code that asks or warns without blocking.
class MessageBoxAnswer
{
public:
    explicit MessageBoxAnswer(QMessageBox::StandardButton answer) : m_answer(answer)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    bool seen() const { return m_seen; }
    const QString& title() const { return m_title; }
    const QString& text() const { return m_text; }
    QMessageBox::Icon icon() const { return m_icon; }
    QMessageBox::StandardButtons buttons() const { return m_buttons; }

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        m_timer.stop();
        m_seen = true;
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
    bool m_seen = false;
    QString m_title;
    QString m_text;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons m_buttons;
};

} // namespace quilloa::test
