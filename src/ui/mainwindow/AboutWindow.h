#pragma once

#include <QDialog>

namespace quilloa {

// "关于" (Form8): the program's name, version and purpose, centred on the screen.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

} // namespace quilloa
