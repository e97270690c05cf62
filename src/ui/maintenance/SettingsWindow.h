#pragma once

#include "startup/AppContext.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace quilloa {

// "基本设置" (Form5): clinic name, default doctor and dispenser, the four print margins and the
// login password. Loading fills the boxes from the stores; "确 定" stores every box and closes.
// While the window is loaded its first three boxes are the program's current clinic name,
// doctor and dispenser (see SettingsHolder).
class SettingsWindow : public QDialog
{
    Q_OBJECT
public:
    // Box indices: Text1 .. Text8.
    enum Box
    {
        ClinicNameBox = 0,
        DoctorBox,
        DispenserBox,
        LeftMarginBox,
        TopMarginBox,
        CardLeftMarginBox,
        CardTopMarginBox,
        PasswordBox,
    };
    static constexpr int kPasswordLimit = 15;

    explicit SettingsWindow(const AppContext& context, QWidget* parent = nullptr);

    QLineEdit* box(Box which) const { return m_boxes.at(which); }
    QString text(Box which) const;
    QPushButton* confirmButton() const { return m_confirm; }

    // Stores all eight boxes. False, after telling the user, when a store could not take them;
    // the window then stays open with what was typed.
    bool store();

private:
    void buildControls();
    void explainMargins(QWidget* printFrame);
    void load();
    void confirm();

    AppContext m_context;
    std::array<QLineEdit*, 8> m_boxes{};
    QPushButton* m_confirm = nullptr;
};

} // namespace quilloa
