#pragma once

#include "core/startup/AppContext.h"

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

    // Stores all eight boxes. False, after telling the user, when a store could not take them
    // or the stored values could not be read first; the window then stays open with what was
    // typed.
    bool store();

    // Reads again what could not be read so far, into the boxes the user has not typed in.
    // Returns how reading the settings record went.
    StoreStatus refresh();
    // Whether the boxes hold what is stored (or what the user typed over it).
    bool isSettingsLoaded() const { return m_settingsLoaded; }
    bool isPasswordLoaded() const { return m_passwordLoaded; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void explainMargins(QWidget* printFrame);
    StoreStatus loadSettings();
    StoreStatus loadPassword();
    void confirm();
    // A box the user typed in keeps the typed text; any other takes the stored value.
    void fill(Box which, const QString& stored);

    AppContext m_context;
    bool m_settingsLoaded = false;
    bool m_passwordLoaded = false;
    std::array<QLineEdit*, 8> m_boxes{};
    QPushButton* m_confirm = nullptr;
};

} // namespace quilloa
