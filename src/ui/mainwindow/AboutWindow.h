#pragma once

#include "core/store/StorePaths.h"

#include <QDialog>

namespace quilloa {

// "关于" (Form8): the program's name, version and purpose, and the folders that hold its data,
// centred on the screen.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(const StorePaths& paths, QWidget* parent = nullptr);
};

} // namespace quilloa
