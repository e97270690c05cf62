#pragma once

#include "core/store/ArchiveStore.h"
#include "core/store/SettingsStore.h"
#include "support/TestProgramFolder.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/support/WindowProbe.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace quilloa::test {

// What every window test class holds: a fresh program folder per test (init() makes it,
// cleanup() drops the window first and then the folder) and the window under test.
template <class Window> class WindowFixture
{
protected:
    std::unique_ptr<TestProgramFolder> m_folder;
    WindowProbe<Window> m_window;

    void makeFolder() { m_folder = std::make_unique<TestProgramFolder>(); }
    void dropWindowAndFolder()
    {
        m_window.reset();
        m_folder.reset();
    }

    ArchiveStore archive() const { return ArchiveStore(m_folder->paths().archiveFile); }
    SettingsStore settings() const { return SettingsStore(m_folder->paths().settingsFile); }
};

// The main window's suites also find the sheet's fields Text4_0 .. Text4_8 by index.
class MainWindowFixture : public WindowFixture<MainWindow>
{
protected:
    void open() { QVERIFY(m_window.open(m_folder->context())); }
    QLineEdit* field(int index) const
    {
        return m_window.find<QLineEdit>(QStringLiteral("Text4_%1").arg(index));
    }
};

// A list window (the drug window, the diagnosis and address windows): its list List1 and boxes
// Text1/Text3/Text5 found by name, and the list's lines read and clicked as the user sees them.
template <class Window> class ListWindowFixture : public WindowFixture<Window>
{
protected:
    QAbstractItemView* list() const
    {
        return this->m_window.template find<QAbstractItemView>(QStringLiteral("List1"));
    }
    QLineEdit* box(const char* name) const
    {
        return this->m_window.template find<QLineEdit>(QLatin1String(name));
    }
    QLineEdit* searchBox() const { return box("Text1"); }
    QLineEdit* nameBox() const { return box("Text3"); }
    QLineEdit* codeBox() const { return box("Text5"); }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            names << list()->model()->index(row, 0).data().toString();
        return names;
    }
    int selectedLine() const
    {
        const QModelIndexList selected = list()->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? -1 : selected.first().row();
    }
    void clickLine(int line, Qt::MouseButton button = Qt::LeftButton)
    {
        const QRect rect = list()->visualRect(list()->model()->index(line, 0));
        QTest::mouseClick(list()->viewport(), button, {}, rect.center());
    }
};

} // namespace quilloa::test
