#include "ui/printing/CupsPrintQueue.h"

#include "ui/printing/CupsDefaultPaper.h"
#include "ui/printing/CupsJobWatch.h"

#include <QFile>

#include <cups/cups.h>

#include <memory>

namespace quilloa {

namespace {

struct DestFree
{
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct InfoFree
{
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using DestPtr = std::unique_ptr<cups_dest_t, DestFree>;
using InfoPtr = std::unique_ptr<cups_dinfo_t, InfoFree>;

QString refusedMessage(const QString& printer, ipp_status_t status)
{
    switch (status) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("打印机“%1”现在不接受打印任务，这份没有打印。请在系统的打印机设置"
                              "中让它接受任务，然后再打印一次。")
            .arg(printer);
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("找不到打印机“%1”，这份没有打印。请在系统的打印机设置中检查默认"
                              "打印机，然后再打印一次。")
            .arg(printer);
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return QStringLiteral("打印机“%1”不允许本用户打印，这份没有打印。请检查打印机的权限"
                              "设置，然后再打印一次。")
            .arg(printer);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_INTERNAL:
        return QStringLiteral("无法连接打印服务，这份没有打印。请确认打印服务正在运行，然后再"
                              "打印一次。");
    default:
        return QStringLiteral("打印机“%1”没有接受这份打印任务，这份没有打印。请检查打印机，"
                              "然后再打印一次。")
            .arg(printer);
    }
}

// A stopped scheduler looks like "no default printer" to cupsGetNamedDest; its error, or a
// refused connection (a few seconds at most), tells the two apart.
bool schedulerUnreachable()
{
    if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return true;
    constexpr int kConnectMs = 3000;
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                kConnectMs, nullptr);
    if (!http)
        return true;
    httpClose(http);
    return false;
}

class DocumentSender
{
public:
    DocumentSender(cups_dest_t* dest, cups_dinfo_t* info) : m_dest(dest), m_info(info) {}

    // Sends the whole file as the job's one document; false when any step was refused.
    bool send(int jobId, const QString& pdfPath, const QString& jobName)
    {
        QFile file(pdfPath);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        const QByteArray name = jobName.toUtf8();
        if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, m_dest, m_info, jobId, name.constData(),
                                  CUPS_FORMAT_PDF, 0, nullptr, 1) != HTTP_STATUS_CONTINUE) {
            return false;
        }
        bool written = true;
        while (written && !file.atEnd()) {
            const QByteArray chunk = file.read(64 * 1024);
            written = !chunk.isEmpty() &&
                      cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(),
                                           size_t(chunk.size())) == HTTP_STATUS_CONTINUE;
        }
        // Finishing also reads the server's answer, so it runs even after a failed write.
        const ipp_status_t finished = cupsFinishDestDocument(CUPS_HTTP_DEFAULT, m_dest, m_info);
        return written && finished <= IPP_STATUS_OK_EVENTS_COMPLETE;
    }

private:
    cups_dest_t* m_dest;
    cups_dinfo_t* m_info;
};

} // namespace

std::optional<PrinterChoice> CupsPrintQueue::defaultPrinter()
{
    m_absence = Absence::NoPrinter;
    DestPtr dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!dest) {
        if (schedulerUnreachable())
            m_absence = Absence::ServiceUnreachable;
        return std::nullopt;
    }
    InfoPtr info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    PrinterChoice choice{QString::fromUtf8(dest->name), PaperSetup(), false};
    if (const std::optional<PaperSetup> paper = CupsDefaultPaper::read(dest.get(), info.get())) {
        choice.paper = *paper;
        choice.paperKnown = true;
    }
    return choice;
}

JobOutcome CupsPrintQueue::submitPdf(const PrinterChoice& printer, const QString& pdfPath,
                                     const QString& jobName)
{
    JobOutcome outcome;
    const QByteArray name = printer.name.toUtf8();
    DestPtr dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr));
    if (!dest) {
        outcome.message = refusedMessage(printer.name, IPP_STATUS_ERROR_NOT_FOUND);
        return outcome;
    }
    InfoPtr info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    cups_option_t* options = nullptr;
    int optionCount = cupsAddOption("print-scaling", "none", 0, &options);
    const QByteArray title = jobName.toUtf8();
    const ipp_status_t created =
        cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest.get(), info.get(), &outcome.jobId,
                          title.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (created > IPP_STATUS_OK_EVENTS_COMPLETE || outcome.jobId <= 0) {
        outcome.message = refusedMessage(printer.name, created);
        return outcome;
    }
    if (!DocumentSender(dest.get(), info.get()).send(outcome.jobId, pdfPath, jobName)) {
        const ipp_status_t failed = cupsLastError();
        cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest.get(), outcome.jobId);
        outcome.message = refusedMessage(printer.name, failed);
        return outcome;
    }
    outcome.accepted = true;
    outcome.notice = CupsJobWatch::waitingNotice(printer.name, outcome.jobId);
    return outcome;
}

} // namespace quilloa
