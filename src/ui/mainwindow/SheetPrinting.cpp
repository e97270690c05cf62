#include "ui/mainwindow/SheetPrinting.h"

#include "core/printing/AlignmentPrintout.h"
#include "core/printing/InjectionCardPrintout.h"
#include "core/printing/PrescriptionPrintout.h"
#include "core/startup/AppContext.h"
#include "ui/common/PlainMessage.h"
#include "ui/entry/InjectionCard.h"
#include "ui/entry/PrescriptionSheet.h"
#include "ui/maintenance/SettingsHolder.h"
#include "ui/printing/PrintPreviewDialog.h"
#include "ui/printing/PrintRunner.h"

namespace quilloa {

SheetPrinting::SheetPrinting(const AppContext& context, SettingsHolder* settings, QWidget* window)
    : m_context(context), m_settings(settings), m_window(window)
{
}

void SheetPrinting::printSheet(const PrescriptionSheet& sheet)
{
    print([this, &sheet](const auto& margins) { return sheetJob(sheet, margins); });
}

void SheetPrinting::previewSheet(const PrescriptionSheet& sheet)
{
    preview([this, &sheet](const auto& margins) { return sheetJob(sheet, margins); });
}

void SheetPrinting::printCard(const InjectionCard& card)
{
    print([this, &card](const auto& margins) { return cardJob(card, margins); });
}

void SheetPrinting::previewCard(const InjectionCard& card)
{
    preview([this, &card](const auto& margins) { return cardJob(card, margins); });
}

void SheetPrinting::printAlignmentPage()
{
    print([](const ClinicSettings::StoredMargins& margins) {
        const AlignmentPrintout page(margins.sheet, margins.card);
        return PrintJob{[page](PageDevice& device) { return page.print(device); },
                        QStringLiteral("对位测试页")};
    });
}

std::optional<ClinicSettings::StoredMargins> SheetPrinting::margins()
{
    const auto read = m_settings->settings()->storedMargins();
    if (read.ok())
        return read.value();
    PlainMessage::warn(m_window, QStringLiteral("打印"),
                       QStringLiteral("打印边距无法读取，没有打印。\n%1").arg(read.error()));
    return std::nullopt;
}

void SheetPrinting::print(const PrintJobMaker& make)
{
    if (const auto stored = margins()) {
        const PrintJob job = make(*stored);
        if (agreeToMoreSheets(job))
            PrintRunner::print(m_window, job.drawing, job.name, m_printerFactory);
    }
}

bool SheetPrinting::agreeToMoreSheets(const PrintJob& job)
{
    if (job.sheets <= 1)
        return true;
    return PlainMessage::ask(
        m_window, QStringLiteral("打印"),
        QStringLiteral("一张%1印不下：还有 %2 行印不到第一张上。\n要把这 %2 行按同样的格式接着印在"
                       "第二张%1上吗（共 %3 张）？\n选“否”不打印，可以回去把内容改短。")
            .arg(job.sheetWord)
            .arg(job.rowsAfterFirst)
            .arg(job.sheets));
}

void SheetPrinting::preview(const PrintJobMaker& make)
{
    if (const auto stored = margins()) {
        const PrintJob job = make(*stored);
        PrintPreviewDialog dialog(job.drawing, job.name, PrintRunner::systemQueue(), m_window);
        if (job.sheets > 1) {
            dialog.noteContinuation(
                QStringLiteral("一张%1印不下：第一张之后的 %2 行接着印在第二张上，"
                               "见第 2 页（共 %3 张）。")
                    .arg(job.sheetWord)
                    .arg(job.rowsAfterFirst)
                    .arg(job.sheets));
        }
        dialog.exec();
    }
}

SheetPrinting::PrintJob SheetPrinting::sheetJob(const PrescriptionSheet& sheet,
                                                const ClinicSettings::StoredMargins& margins) const
{
    const PrescriptionPrintout printout(sheet.printedSheet(), margins.sheet);
    return {[printout](PageDevice& device) { return printout.print(device); },
            printout.jobName(m_context.clock().now().date()), QStringLiteral("处方笺"),
            printout.sheetCount(), printout.rowsAfterFirstSheet()};
}

SheetPrinting::PrintJob SheetPrinting::cardJob(const InjectionCard& card,
                                               const ClinicSettings::StoredMargins& margins) const
{
    const InjectionCardPrintout printout(card.printedCard(), margins.card);
    return {[printout](PageDevice& device) { return printout.print(device); },
            printout.jobName(m_context.clock().now().date()), QStringLiteral("注射卡"),
            printout.sheetCount(), printout.rowsAfterFirstSheet()};
}

} // namespace quilloa
