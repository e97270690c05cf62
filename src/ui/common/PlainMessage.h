#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace quilloa {

// Message boxes whose text, and optional list of particulars, is shown as plain text: a
// message may quote a store text or a file name, and neither must ever be read as markup.
class PlainMessage
{
public:
    static void warn(QWidget* parent, const QString& title, const QString& text,
                     const QString& details = QString());
    static void inform(QWidget* parent, const QString& title, const QString& text,
                       const QString& details = QString());
    // Yes / No, No being the default; true for Yes.
    static bool ask(QWidget* parent, const QString& title, const QString& text);
    // Asks the user to retry or to end the program; true for "重试".
    static bool askRetry(QWidget* parent, const QString& title, const QString& text);
    // A warning that does not wait for an answer, so what runs next goes on at once.
    static QMessageBox* notify(QWidget* parent, const QString& title, const QString& text);

private:
    static int run(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                   const QString& text, QMessageBox::StandardButtons buttons,
                   const QString& details = QString(),
                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};

} // namespace quilloa
