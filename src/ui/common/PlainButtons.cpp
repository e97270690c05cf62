#include "ui/common/PlainButtons.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace quilloa {
namespace {

bool isEnterPress(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

PlainButtons::PlainButtons(QDialog* dialog) : QObject(dialog), m_dialog(dialog) {}

void PlainButtons::install(QDialog* dialog)
{
    auto* plain = new PlainButtons(dialog);
    plain->plainAll();
    dialog->installEventFilter(plain);
}

// Runs again as the dialog is shown: that is when Qt would pick its unseen default button.
void PlainButtons::plainAll()
{
    for (QPushButton* button : m_dialog->findChildren<QPushButton*>()) {
        if (!button->autoDefault() && !button->isDefault() &&
            button->property("plainButton").toBool())
            continue;
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setProperty("plainButton", true);
        button->installEventFilter(this);
    }
}

bool PlainButtons::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dialog) {
        if (event->type() == QEvent::Show)
            plainAll();
        return false;
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button && isEnterPress(event) && button->isEnabled()) {
        button->click();
        return true;
    }
    return false;
}

} // namespace quilloa
