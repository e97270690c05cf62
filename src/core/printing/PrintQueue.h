#pragma once

#include "core/printing/PaperSetup.h"

#include <QString>

#include <optional>

namespace quilloa {

// The printer a printout goes to, as the system's print service knows it.
struct PrinterChoice
{
    QString name;
    PaperSetup paper;
    // False when the print service does not say for certain which paper the printer holds:
    // `paper` is then only a stand-in for showing, never for printing.
    bool paperKnown = true;
};

// What became of a submitted job. A job that was accepted counts as printed even when the
// queue holds it or the printer is paused, since it comes out once released; but the user is
// told, or a missing printout would be a mystery.
struct JobOutcome
{
    bool accepted = false;
    int jobId = 0;
    QString message;            // for the user when not accepted, plain Chinese
    QString notice = QString(); // for the user when accepted but kept waiting, plain Chinese
};

// The system print service: which printer is the default and a way to hand it a finished
// PDF document as one named job. Kept small so that the printouts can be tried and tested
// without the platform's print library.
class PrintQueue
{
public:
    virtual ~PrintQueue();

    // Why the last defaultPrinter() found none: the user has to do different things.
    enum class Absence
    {
        NoPrinter,
        ServiceUnreachable
    };

    virtual std::optional<PrinterChoice> defaultPrinter() = 0;
    virtual JobOutcome submitPdf(const PrinterChoice& printer, const QString& pdfPath,
                                 const QString& jobName) = 0;
    virtual Absence lastAbsence() const { return Absence::NoPrinter; }

    // The one wording for a missing default printer, wherever a printout is started.
    static QString noPrinterMessage();
    static QString serviceUnreachableMessage();
    static QString unknownPaperMessage(const QString& printer);
    // The wording for what the last defaultPrinter() met.
    QString absenceMessage() const;

protected:
    PrintQueue() = default;
};

} // namespace quilloa
