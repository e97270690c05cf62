#include "ui/common/PlainDialog.h"

#include "core/store/SecretMask.h"

#include <QMessageBox>

namespace quilloa {
namespace {

int show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
         const QString& details, QMessageBox::StandardButtons buttons,
         QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, SecretMask::mask(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(SecretMask::mask(details));
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

void PlainDialog::warn(QWidget* parent, const QString& title, const QString& text,
                       const QString& details)
{
    show(parent, QMessageBox::Warning, title, text, details, QMessageBox::Ok, QMessageBox::Ok);
}

void PlainDialog::inform(QWidget* parent, const QString& title, const QString& text,
                         const QString& details)
{
    show(parent, QMessageBox::Information, title, text, details, QMessageBox::Ok, QMessageBox::Ok);
}

bool PlainDialog::ask(QWidget* parent, const QString& title, const QString& text)
{
    return show(parent, QMessageBox::Question, title, text, QString(),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace quilloa
