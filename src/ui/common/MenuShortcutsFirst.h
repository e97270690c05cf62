#pragma once

#include <QObject>

class QKeyEvent;
class QMenuBar;
class QWidget;

namespace quilloa {

// A text box takes some Ctrl keys for itself before a window's shortcuts see them (Ctrl+E moves
// to the end of the line, Ctrl+Z undoes, Ctrl+D deletes), so a menu item's key would work
// everywhere in the window but in its boxes. Here the menu bar's enabled items win wherever
// the focus stands in the window; every other key stays the box's.
class MenuShortcutsFirst : public QObject
{
    Q_OBJECT
public:
    // Watches the keys typed in `window`, whose items are those of `menuBar`.
    static void install(QWidget* window, QMenuBar* menuBar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MenuShortcutsFirst(QWidget* window, QMenuBar* menuBar);
    bool isMenuKey(const QKeyEvent* key) const;

    QWidget* m_window;
    QMenuBar* m_menuBar;
};

} // namespace quilloa
