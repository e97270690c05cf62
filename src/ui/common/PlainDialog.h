#pragma once

#include <QString>

class QWidget;

namespace quilloa {

// Message boxes with plain text and an optional list of particulars: they carry file names and
// stored names, which must never be read as markup.
class PlainDialog
{
public:
    static void warn(QWidget* parent, const QString& title, const QString& text,
                     const QString& details = QString());
    static void inform(QWidget* parent, const QString& title, const QString& text,
                       const QString& details = QString());
    // Yes / No, No being the default; true for Yes.
    static bool ask(QWidget* parent, const QString& title, const QString& text);
};

} // namespace quilloa
