#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace quilloa {

class AboutWindow;
class AppContext;
class BackupWindow;
class ClinicLogWindow;
class DrugWindow;
class ReferenceWindow;
class SettingsHolder;
class StatisticsWindow;

// The windows the main window opens from its menus, one of each: made when first asked for,
// discarded when closed, and brought to the front unchanged when already open.
class WindowOpener : public QObject
{
    Q_OBJECT
public:
    // The windows are child windows of `window`.
    WindowOpener(const AppContext& context, SettingsHolder* settings, QWidget* window);

    void showDrugs();
    void showDiagnoses();
    void showAddresses();
    void showStatistics();
    void showClinicLog();
    void showSettings();
    void showAbout();
    void openHelp();
    void showBackups();
    void backUpNow();
    // "备份到…": a checked pair into a folder the user chooses, such as a USB drive.
    void backUpToChosenFolder();
    // Brings an older program's data folder in; the stores then hold more than the lists show.
    void importOldData();

signals:
    // A backup was put back in place of the stores; the lists shown are of the old ones.
    void storesReplaced();
    // The drug window changed the drug list, which the main window's drug picker shows too.
    void drugsChanged();

private:
    void closeAfterRestore();

    const AppContext& m_context;
    SettingsHolder* m_settings = nullptr;
    QWidget* m_window = nullptr;
    QPointer<DrugWindow> m_drugWindow;
    QPointer<ReferenceWindow> m_diagnosisWindow;
    QPointer<ReferenceWindow> m_addressWindow;
    QPointer<StatisticsWindow> m_statisticsWindow;
    QPointer<ClinicLogWindow> m_clinicLogWindow;
    QPointer<AboutWindow> m_aboutWindow;
    QPointer<BackupWindow> m_backupWindow;
};

} // namespace quilloa
