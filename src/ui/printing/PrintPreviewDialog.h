#pragma once

#include "core/printing/PaperSetup.h"
#include "ui/printing/PrintRunner.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QScrollArea;

namespace quilloa {

class PreviewPages;
class PrintQueue;

// "打印预览": a printout as the default printer will put it on paper, drawn by the same code
// that prints it, with the printer's printable area shown; from here it can be printed or
// saved as a PDF file.
class PrintPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    PrintPreviewDialog(PrintRunner::Drawing drawing, QString jobName, PrintQueue& queue,
                       QWidget* parent = nullptr);

    int pageCount() const;
    // Says above the pages that the printout goes on over further sheets, and marks the foot
    // of each sheet it goes on from.
    void noteContinuation(const QString& sentence);
    // Writes the printout to a PDF file on the previewed paper; false, after telling the
    // user, when the file could not be written.
    bool saveAsPdf(const QString& fileName);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void render();
    void print();
    void chooseAndSave();

    PrintRunner::Drawing m_drawing;
    QString m_jobName;
    PrintQueue& m_queue;
    PaperSetup m_paper;
    QString m_printerName;
    bool m_paperKnown = true;
    PreviewPages* m_pages = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_note = nullptr;
};

} // namespace quilloa
