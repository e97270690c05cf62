#pragma once

#include "core/entry/SheetLife.h"
#include "core/records/PrescriptionRecord.h"
#include "core/startup/AppContext.h"
#include "ui/mainwindow/DeskActions.h"
#include "ui/mainwindow/SheetPrinting.h"

#include <QMainWindow>

#include <memory>

class QMenu;
class QTextEdit;
class QToolBar;

namespace quilloa {

class ArchivePanel;
class DrugPanel;
class EntryFocusMemory;
class IdleWatch;
class InjectionCard;
class KeyboardPanel;
class MainCommands;
class WindowOpener;
class PrescriptionDesk;
class PrescriptionSheet;
class ScreenLock;
class SettingsHolder;
class UsageKeyBar;

// The working window (Form1): drug search and archive on the left, the prescription desk on the
// right, toolbar and menus on top. It shows the life of one record on the sheet (new, save,
// show a stored one, delete, copy and paste) as SheetLife decides it. The desk, the commands,
// the printouts and the other windows it opens are classes of their own beside it.
class MainWindow : public QMainWindow, public DeskActions
{
    Q_OBJECT
public:
    using SheetState = SheetLife::State;

    explicit MainWindow(const AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    const AppContext& context() const { return m_context; }
    PrescriptionSheet* sheet() const { return m_sheet; }
    QTextEdit* body() const; // R1
    InjectionCard* card() const { return m_card; }
    DrugPanel* drugPanel() const { return m_drugPanel; }
    ArchivePanel* archivePanel() const { return m_archivePanel; }
    KeyboardPanel* keyboardPanel() const { return m_keyboard; }
    UsageKeyBar* usageKeyBar() const { return m_usageBar; }
    EntryFocusMemory* focusMemory() const { return m_focusMemory; }
    SettingsHolder* settingsHolder() const { return m_settings; }
    QWidget* desk() const;
    QMenu* archiveMenu() const { return m_archiveMenu; } // mu
    QToolBar* toolbar() const;
    SheetState sheetState() const { return m_life.state(); }
    // The key the sheet is saved under, or of the record it shows.
    const QString& recordKey() const { return m_life.recordKey(); }
    ScreenLock* screenLock() const { return m_lock; }
    IdleWatch* idleWatch() const { return m_idleWatch; }

    // Where printouts go; the default printer unless replaced (tests print to a recorder).
    using PrinterFactory = SheetPrinting::PrinterFactory;
    void setPrinterFactory(PrinterFactory factory)
    {
        m_printing->setPrinterFactory(std::move(factory));
    }

public slots:
    void newPrescription() override;
    bool savePrescription() override;
    void deletePrescription();
    void showRecord(const quilloa::ArchiveEntry& entry);
    void copyPrescription() override;
    void pastePrescription() override;
    void printPrescription() override;
    void previewPrescription() override;
    void previewInjectionCard() override;
    void printAlignmentPage() override;
    void printInjectionCard();
    void lockScreen() override;
    void hideLookupLists();
    void endProgram() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPanels();
    void buildDesk();
    void buildArchiveMenu();
    void buildScreenLock();
    void orderTabStops();
    void connectSheet();
    void connectEntryPanels();
    void fitOnScreen();
    void centreOnScreen();
    void fillOnOpening();

    // The panels and "保存" as the sheet's state has them.
    void showSheetState();
    void showTitle();
    void refuseRecord(const QString& reason);
    void clearSheet();

    AppContext m_context;
    SettingsHolder* m_settings = nullptr;
    ScreenLock* m_lock = nullptr;
    IdleWatch* m_idleWatch = nullptr;
    EntryFocusMemory* m_focusMemory = nullptr;
    WindowOpener* m_windowOpener = nullptr;
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<SheetPrinting> m_printing;

    DrugPanel* m_drugPanel = nullptr;
    ArchivePanel* m_archivePanel = nullptr;
    PrescriptionDesk* m_desk = nullptr;
    PrescriptionSheet* m_sheet = nullptr;
    InjectionCard* m_card = nullptr;
    KeyboardPanel* m_keyboard = nullptr;
    UsageKeyBar* m_usageBar = nullptr;
    QMenu* m_archiveMenu = nullptr;

    SheetLife m_life;
};

} // namespace quilloa
