#include "core/printing/ClinicLogPrintout.h"
#include "core/printing/PrintQueue.h"
#include "ui/printing/PrintPreviewDialog.h"
#include "ui/startup/FontSetup.h"
#include "ui/support/MessageBoxAnswer.h"
#include "ui/support/PdfWords.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace quilloa;
using quilloa::test::MessageBoxAnswer;
using quilloa::test::PdfWords;

namespace {

class FakeQueue : public PrintQueue
{
public:
    std::optional<PrinterChoice> printer;
    QStringList submitted;

    std::optional<PrinterChoice> defaultPrinter() override { return printer; }
    JobOutcome submitPdf(const PrinterChoice&, const QString&, const QString& jobName) override
    {
        submitted.append(jobName);
        return JobOutcome{true, 1, QString()};
    }
};

QList<QStringList> visits(int count)
{
    QList<QStringList> rows{QStringList(7)};
    for (int i = 1; i <= count; ++i) {
        rows.append({QStringLiteral("病人%1").arg(i), QStringLiteral("女"), QStringLiteral("30"),
                     QStringLiteral("咳嗽"), QStringLiteral("东关"),
                     QStringLiteral("2026-12-08 10:00"), QString()});
    }
    return rows;
}

} // namespace

class TestPrintPreview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { FontSetup::install(); }

    // The preview draws with the printout's own code on the default printer's paper, saves
    // the same pages as a PDF and prints them as a named job.
    void previewShowsSavesAndPrintsThePrintout()
    {
        FakeQueue queue;
        PaperSetup paper;
        paper.unprintable = QMarginsF(5, 5, 5, 12);
        queue.printer = PrinterChoice{QStringLiteral("前台"), paper};
        const ClinicLogPrintout book(visits(45), QStringLiteral("李医生"));
        PrintPreviewDialog dialog([&book](PageDevice& device) { return book.print(device); },
                                  QStringLiteral("门诊日志 2026-12-08"), queue);
        QCOMPARE(dialog.pageCount(), 3);
        const QLabel* note = dialog.findChild<QLabel*>(QStringLiteral("previewNote"));
        QVERIFY(note->text().contains(QStringLiteral("前台")));

        const QString pdf = m_dir.filePath(QStringLiteral("saved.pdf"));
        QVERIFY(dialog.saveAsPdf(pdf));
        QVERIFY(QFile::exists(pdf));
        if (PdfWords::available()) {
            QCOMPARE(PdfWords::pageCount(pdf), 3);
            QCOMPARE(PdfWords::pageSize(pdf), QSizeF(842, 595));
        }

#ifdef Q_OS_WIN
        // Windows prints straight to the spooler, past the queue's PDF path; a printer the
        // spooler does not have refuses the job, and the preview stays open saying so.
        MessageBoxAnswer refusal(QMessageBox::Ok);
        dialog.findChild<QPushButton*>(QStringLiteral("previewPrint"))->click();
        QVERIFY(refusal.text().contains(QStringLiteral("前台")));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
#else
        dialog.findChild<QPushButton*>(QStringLiteral("previewPrint"))->click();
        QCOMPARE(queue.submitted, QStringList{QStringLiteral("门诊日志 2026-12-08")});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
#endif
    }

    void withoutPrinterThePreviewSaysSoAndShowsA4()
    {
        FakeQueue queue;
        const ClinicLogPrintout book(visits(1), QString());
        PrintPreviewDialog dialog([&book](PageDevice& device) { return book.print(device); },
                                  QStringLiteral("门诊日志"), queue);
        QCOMPARE(dialog.pageCount(), 1);
        QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("previewNote"))
                    ->text()
                    .contains(QStringLiteral("没有找到默认打印机")));
    }

    // A page taller than the view scrolls, by PageDown too while a button holds the focus.
    void pageKeysScrollAPageTallerThanTheView()
    {
        FakeQueue queue;
        const ClinicLogPrintout book(visits(1), QString());
        PrintPreviewDialog dialog([&book](PageDevice& device) { return book.print(device); },
                                  QStringLiteral("门诊日志"), queue);
        dialog.resize(700, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const QScrollBar* bar =
            dialog.findChild<QScrollArea*>(QStringLiteral("previewScroll"))->verticalScrollBar();
        QVERIFY(bar->isVisible());
        QVERIFY(bar->maximum() > 0);
        auto* close = dialog.findChild<QPushButton*>(QStringLiteral("previewClose"));
        close->setFocus();
        QTest::keyClick(close, Qt::Key_PageDown);
        QCOMPARE(bar->value(), bar->pageStep());
        QTest::keyClick(close, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClick(close, Qt::Key_PageUp);
        QCOMPARE(bar->value(), qMax(0, bar->maximum() - bar->pageStep()));
    }
};

QTEST_MAIN(TestPrintPreview)
#include "TestPrintPreview.moc"
