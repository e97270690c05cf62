#pragma once

#include "core/settings/ClinicSettings.h"
#include "core/settings/IdleLockSetting.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quilloa {

// "基本设置" (Form5): clinic name, default doctor and dispenser, the four print margins and the
// login password. The boxes edit the program's ClinicSettings as they are typed in, so what
// stands in an open window is what the other windows read; "确 定" stores every box and closes.
// The stored password is never shown (the store holds only its hash): Text8 says whether one is
// set, a password typed into it replaces the stored one, and "清除密码" removes it.
class SettingsWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kPasswordLimit = 15;

    explicit SettingsWindow(ClinicSettings* settings, QWidget* parent = nullptr,
                            IdleLockSetting idleLock = IdleLockSetting());

    // Text1 .. Text8 hold the fields in their order.
    QLineEdit* box(ClinicSettings::Field which) const { return m_boxes.at(which); }
    QString text(ClinicSettings::Field which) const;
    QPushButton* confirmButton() const { return m_confirm; }
    QSpinBox* idleLockBox() const { return m_idleLock; }
    QCheckBox* clearPasswordBox() const { return m_clearPassword; }

    // Stores all eight boxes. False, after telling the user, when a store could not take them
    // or the stored values could not be read first; the window then stays open with what was
    // typed.
    bool store();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void buildPasswordBox();
    void showStoreInUse();
    void fitStoreInUse();
    void explainMargins(QWidget* printFrame);
    void buildLockRow(QWidget* settingsFrame);
    void showPasswordState();
    void confirm();
    // Every box shows its field; a box is only written when it differs, so the caret stays.
    void showValues();
    void boxChanged(ClinicSettings::Field which);
    bool hasTypedChanges() const;
    bool settleConflicts(const QList<ClinicSettings::Conflict>& conflicts);
    void showFocusMark();

    ClinicSettings* m_settings;
    std::array<QLineEdit*, ClinicSettings::kFieldCount> m_boxes{};
    QPushButton* m_confirm = nullptr;
    QLabel* m_storeInUse = nullptr;
    IdleLockSetting m_idleLockSetting;
    QSpinBox* m_idleLock = nullptr;
    QCheckBox* m_clearPassword = nullptr;
};

} // namespace quilloa
