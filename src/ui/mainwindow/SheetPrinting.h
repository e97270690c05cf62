#pragma once

#include "core/settings/ClinicSettings.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace quilloa {

class AppContext;
class InjectionCard;
class PageDevice;
class PrescriptionSheet;
class SettingsHolder;

// The main window's printouts: the sheet, the card and the alignment page, printed or
// previewed at the margins the settings hold, each as a job named for the day.
class SheetPrinting
{
public:
    // Where printouts go; the default printer unless replaced (tests print to a recorder).
    using PrinterFactory = std::function<std::unique_ptr<PageDevice>()>;

    // Messages and previews stand over `window`.
    SheetPrinting(const AppContext& context, SettingsHolder* settings, QWidget* window);

    void setPrinterFactory(PrinterFactory factory) { m_printerFactory = std::move(factory); }

    // The sheet and the card print as they stand, saved or not.
    void printSheet(const PrescriptionSheet& sheet);
    void previewSheet(const PrescriptionSheet& sheet);
    void printCard(const InjectionCard& card);
    void previewCard(const InjectionCard& card);
    // The page shows where the sheet and the card print at the stored margins.
    void printAlignmentPage();

private:
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

    // The margins to print at, or nothing (after telling why) when they cannot be read.
    std::optional<ClinicSettings::StoredMargins> margins();
    // Prints, or previews, the job made at the stored margins; nothing when they cannot be read.
    void print(const PrintJobMaker& make);
    void preview(const PrintJobMaker& make);
    PrintJob sheetJob(const PrescriptionSheet& sheet,
                      const ClinicSettings::StoredMargins& margins) const;
    // Whether to print a body that needs more than one sheet; asked before anything prints.
    bool agreeToMoreSheets(const PrintJob& job);
    PrintJob cardJob(const InjectionCard& card, const ClinicSettings::StoredMargins& margins) const;

    const AppContext& m_context;
    SettingsHolder* m_settings = nullptr;
    QWidget* m_window = nullptr;
    PrinterFactory m_printerFactory;
};

} // namespace quilloa
