#pragma once

#include "core/entry/SheetLife.h"
#include "core/settings/ClinicSettings.h"
#include "core/startup/AppContext.h"
#include "core/store/PrescriptionRecord.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QTextEdit;
class QToolBar;

namespace quilloa {

class AboutWindow;
class PageDevice;
class ArchivePanel;
class ClinicLogWindow;
class BackupWindow;
class DrugPanel;
class DrugWindow;
class IdleWatch;
class EntryFocusMemory;
class InjectionCard;
class KeyboardPanel;
class PrescriptionSheet;
class ReferenceWindow;
class ScreenLock;
class SettingsHolder;
class StatisticsWindow;
class UsageKeyBar;

// The working window (Form1): drug search and archive on the left, the prescription desk on the
// right, toolbar and menus on top. It shows the life of one record on the sheet (new, save,
// show a stored one, delete, copy and paste) as SheetLife decides it, prints, and opens the
// other windows. Each command is one action, shared by the menu and the toolbar.
class MainWindow : public QMainWindow
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
    QWidget* desk() const { return m_desk; }
    QMenu* archiveMenu() const { return m_archiveMenu; } // mu
    QToolBar* toolbar() const { return m_toolbar; }
    SheetState sheetState() const { return m_life.state(); }
    // The key the sheet is saved under, or of the record it shows.
    const QString& recordKey() const { return m_life.recordKey(); }
    ScreenLock* screenLock() const { return m_lock; }
    IdleWatch* idleWatch() const { return m_idleWatch; }

    // Where printouts go; the default printer unless replaced (tests print to a recorder).
    using PrinterFactory = std::function<std::unique_ptr<PageDevice>()>;
    void setPrinterFactory(PrinterFactory factory) { m_printerFactory = std::move(factory); }

public slots:
    void newPrescription();
    // False when the record could not be stored; the sheet then stays as it is.
    bool savePrescription();
    void deletePrescription();
    void showRecord(const quilloa::ArchiveEntry& entry);
    void copyPrescription();
    void pastePrescription();
    void printPrescription();
    void previewPrescription();
    void previewInjectionCard();
    void printAlignmentPage();
    void printInjectionCard();
    // Covers the window until the login password is given; told when none is set.
    void lockScreen();
    void hideLookupLists();
    // Ends the program at once, without a question and without saving.
    void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanels();
    void buildDesk();
    void buildCommands();
    void buildToolbar();
    void buildMenus();
    void buildArchiveMenu();
    void buildScreenLock();
    void orderTabStops();
    void connectSheet();
    void connectEntryPanels();
    void fitOnScreen();
    void centreOnScreen();
    void fillOnOpening();

    // One command: an action named `name`, with Ctrl+`key` unless `key` is 0.
    QAction* command(const char* name, const QString& caption, char key,
                     const std::function<void()>& run);
    void setSheetPanelsShown(bool shown);
    // The panels and "保存" as the sheet's state has them.
    void showSheetState();
    void showTitle();
    void refuseRecord(const QString& reason);
    void clearSheet();

    void showDrugWindow();
    void showDiagnosisWindow();
    void showAddressWindow();
    void showStatistics();
    void showClinicLog();
    void showSettings();
    void showAbout();
    void openHelp();
    void showBackupWindow();
    void backUpNow();
    void reloadAfterRestore();
    // The margins to print at, or nothing (after telling why) when they cannot be read.
    std::optional<ClinicSettings::StoredMargins> printMargins();
    // A printout ready to go: how it draws on a page device, and its job name.
    struct PrintJob
    {
        std::function<bool(PageDevice&)> drawing;
        QString name;
        // A body longer than one sheet: what the sheet is called, how many sheets it takes
        // and how many rows go past the first.
        QString sheetWord = QString();
        int sheets = 1;
        int rowsAfterFirst = 0;
    };
    using PrintJobMaker = std::function<PrintJob(const ClinicSettings::StoredMargins&)>;
    // Prints, or previews, the job made at the stored margins; nothing when they cannot be read.
    void print(const PrintJobMaker& make);
    void preview(const PrintJobMaker& make);
    PrintJob sheetJob(const ClinicSettings::StoredMargins& margins) const;
    // Whether to print a body that needs more than one sheet; asked before anything prints.
    bool agreeToMoreSheets(const PrintJob& job);
    PrintJob cardJob(const ClinicSettings::StoredMargins& margins) const;

    AppContext m_context;
    SettingsHolder* m_settings = nullptr;
    ScreenLock* m_lock = nullptr;
    IdleWatch* m_idleWatch = nullptr;
    EntryFocusMemory* m_focusMemory = nullptr;

    DrugPanel* m_drugPanel = nullptr;
    ArchivePanel* m_archivePanel = nullptr;
    QWidget* m_desk = nullptr;
    PrescriptionSheet* m_sheet = nullptr;
    InjectionCard* m_card = nullptr;
    KeyboardPanel* m_keyboard = nullptr;
    UsageKeyBar* m_usageBar = nullptr;
    QLabel* m_sheetShadow = nullptr;
    QLabel* m_cardShadow = nullptr;
    QLabel* m_keyboardShadow = nullptr;
    QLabel* m_cardLink = nullptr;
    QLabel* m_cardLinkImage = nullptr;

    QToolBar* m_toolbar = nullptr;
    // The commands the menu and the toolbar share.
    QAction* m_newAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_pasteAction = nullptr;
    QAction* m_statisticsAction = nullptr;
    QAction* m_exitAction = nullptr;
    QMenu* m_archiveMenu = nullptr;

    SheetLife m_life;
    PrinterFactory m_printerFactory;

    QPointer<DrugWindow> m_drugWindow;
    QPointer<ReferenceWindow> m_diagnosisWindow;
    QPointer<ReferenceWindow> m_addressWindow;
    QPointer<StatisticsWindow> m_statisticsWindow;
    QPointer<ClinicLogWindow> m_clinicLogWindow;
    QPointer<AboutWindow> m_aboutWindow;
    QPointer<BackupWindow> m_backupWindow;
};

} // namespace quilloa
