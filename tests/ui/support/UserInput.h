#pragma once

#include <QApplication>
#include <QCloseEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

namespace quilloa::test {

// What a user does to a control, in the form the program receives it.
class UserInput
{
public:
    static void click(QWidget* control, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(control, button);
    }

    // Text arrives as an input method commits a phrase, which is how Chinese is typed.
    static void commit(QWidget* target, const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(target, &event);
    }

    // An input method showing what is being composed, before anything is committed.
    static void compose(QWidget* target, const QString& preedit)
    {
        QInputMethodEvent event(preedit, {});
        QApplication::sendEvent(target, &event);
    }

    // Enter while composing: the input method keeps the press and commits; only the release
    // reaches the control.
    static void enterTakenByInputMethod(QWidget* target, const QString& committed)
    {
        commit(target, committed);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }

    static void typeText(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        commit(box, text);
    }

    // The window's close box: the window system's close event, which comes spontaneously,
    // unlike the program's own close(). True when the window let itself be closed.
    static bool clickCloseBox(QWidget* window)
    {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        // As QTest does for its spontaneous events: sendEvent() would take the mark off.
        qApp->notify(window, &event);
        return event.isAccepted();
    }

    // Gives the control the focus; false when the window would not let it take it.
    static bool focus(QWidget* control, Qt::FocusReason reason = Qt::OtherFocusReason)
    {
        control->setFocus(reason);
        return QApplication::focusWidget() == control;
    }
};

} // namespace quilloa::test
