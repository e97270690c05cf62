#pragma once

#include <QObject>

class QDialog;

namespace quilloa {

// A dialog's push buttons are otherwise "auto default": Qt makes one of them the dialog's
// default button, unseen, and Enter typed in any box presses it. Here no button is a default
// button; Enter presses only a button that holds the focus, as Space does.
class PlainButtons : public QObject
{
    Q_OBJECT
public:
    // Covers the buttons the dialog has now and those it gains before it is shown.
    static void install(QDialog* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit PlainButtons(QDialog* dialog);
    void plainAll();

    QDialog* m_dialog;
};

} // namespace quilloa
