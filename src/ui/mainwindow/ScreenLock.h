#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quilloa {

// Covers the main window while the doctor is away: the sheet, the lists, the menus and the
// toolbar stay underneath untouched (an unsaved sheet is kept as it was typed) and the program's
// other windows are hidden, until the login password is given again.
class ScreenLock : public QWidget
{
    Q_OBJECT
public:
    // `storedPassword` answers the login password as stored (blank: none, then no lock).
    ScreenLock(QWidget* window, std::function<QString()> storedPassword);
    ~ScreenLock() override;

    // False, and nothing locked, when no login password is set.
    bool lock();
    bool isLocked() const { return m_locked; }

    QLineEdit* passwordBox() const { return m_password; }
    QPushButton* unlockButton() const { return m_unlock; }

signals:
    void unlocked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void tryUnlock();
    void setWindowParts(bool enabled);
    void hideOtherWindows();
    void clearOwnClipboard();

    std::function<QString()> m_storedPassword;
    QString m_checkedAgainst;
    bool m_locked = false;
    QLineEdit* m_password = nullptr;
    QPushButton* m_unlock = nullptr;
    QLabel* m_message = nullptr;
    QList<QPointer<QWidget>> m_hidden;
    QPointer<QWidget> m_focus;
};

} // namespace quilloa
