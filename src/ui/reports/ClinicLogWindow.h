#pragma once

#include "startup/AppContext.h"

#include <QDialog>

#include <functional>

namespace quilloa {

// "门诊日志": the visits of a day or a month as a register, printable as a ruled book.
class ClinicLogWindow : public QDialog
{
    Q_OBJECT
public:
    // `doctor` gives the doctor named at the foot of the printed register (the settings
    // window's doctor box as it stands).
    ClinicLogWindow(const AppContext& context, std::function<QString()> doctor,
                    QWidget* parent = nullptr);

private:
    AppContext m_context;
    std::function<QString()> m_doctor;
};

} // namespace quilloa
