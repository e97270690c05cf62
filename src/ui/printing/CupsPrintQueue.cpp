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

// A stopped or silent scheduler looks like "no default printer" to the lookup; the connection,
// its time limit or the error tells them apart.
bool schedulerUnreachable(const CupsConnection& http)
{
    return http.unanswered() || cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
}

// Once the job exists, a service that stops answering leaves open whether the pages got there.
QString unansweredMessage(const QString& printer)
{
    return QStringLiteral("打印服务没有及时回答，不知道这份是否已送到打印机“%1”。请看打印机是否"
                          "印出；没有印出时再打印一次。")
        .arg(printer);
}

class DocumentSender
{
public:
    DocumentSender(http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
        : m_http(http), m_dest(dest), m_info(info)
    {
    }

    // Sends the whole file as the job's one document; false when any step was refused.
    bool send(int jobId, const QString& pdfPath, const QString& jobName)
    {
        QFile file(pdfPath);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        const QByteArray name = jobName.toUtf8();
        if (cupsStartDestDocument(m_http, m_dest, m_info, jobId, name.constData(), CUPS_FORMAT_PDF,
                                  0, nullptr, 1) != HTTP_STATUS_CONTINUE) {
            return false;
        }
        bool written = true;
        while (written && !file.atEnd()) {
            const QByteArray chunk = file.read(64 * 1024);
            written = !chunk.isEmpty() &&
                      cupsWriteRequestData(m_http, chunk.constData(), size_t(chunk.size())) ==
                          HTTP_STATUS_CONTINUE;
        }
        // Finishing also reads the server's answer, so it runs even after a failed write.
        const ipp_status_t finished = cupsFinishDestDocument(m_http, m_dest, m_info);
        return written && finished <= IPP_STATUS_OK_EVENTS_COMPLETE;
    }

private:
    http_t* m_http;
    cups_dest_t* m_dest;
    cups_dinfo_t* m_info;
};

} // namespace

std::optional<PrinterChoice> CupsPrintQueue::defaultPrinter()
{
    m_absence = Absence::NoPrinter;
    const CupsConnection http(m_limit);
    DestPtr dest(http.findDest(nullptr));
    if (!dest) {
        if (schedulerUnreachable(http))
            m_absence = Absence::ServiceUnreachable;
        return std::nullopt;
    }
    InfoPtr info(cupsCopyDestInfo(http.get(), dest.get()));
    PrinterChoice choice{QString::fromUtf8(dest->name), PaperSetup(), false};
    if (http.unanswered())
        return choice; // a paper read in part is no paper to print on
    if (const std::optional<PaperSetup> paper =
            CupsDefaultPaper::read(http.get(), dest.get(), info.get())) {
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
    const CupsConnection http(m_limit);
    DestPtr dest(http.findDest(name.constData()));
    if (!dest) {
        outcome.message = refusedMessage(printer.name, schedulerUnreachable(http)
                                                           ? IPP_STATUS_ERROR_SERVICE_UNAVAILABLE
                                                           : IPP_STATUS_ERROR_NOT_FOUND);
        return outcome;
    }
    InfoPtr info(cupsCopyDestInfo(http.get(), dest.get()));
    if (http.unanswered()) {
        outcome.message = refusedMessage(printer.name, IPP_STATUS_ERROR_SERVICE_UNAVAILABLE);
        return outcome;
    }
    cups_option_t* options = nullptr;
    int optionCount = cupsAddOption("print-scaling", "none", 0, &options);
    const QByteArray title = jobName.toUtf8();
    const ipp_status_t created =
        cupsCreateDestJob(http.get(), dest.get(), info.get(), &outcome.jobId, title.constData(),
                          optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (created > IPP_STATUS_OK_EVENTS_COMPLETE || outcome.jobId <= 0) {
        outcome.message =
            http.unanswered() && outcome.jobId > 0
                ? unansweredMessage(printer.name)
                : refusedMessage(printer.name, http.unanswered()
                                                   ? IPP_STATUS_ERROR_SERVICE_UNAVAILABLE
                                                   : created);
        return outcome;
    }
    if (!DocumentSender(http.get(), dest.get(), info.get()).send(outcome.jobId, pdfPath, jobName)) {
        const ipp_status_t failed = cupsLastError();
        if (http.unanswered()) {
            outcome.message = unansweredMessage(printer.name);
            return outcome;
        }
        cupsCancelDestJob(http.get(), dest.get(), outcome.jobId);
        outcome.message = refusedMessage(printer.name, failed);
        return outcome;
    }
    outcome.accepted = true;
    outcome.notice = CupsJobWatch::waitingNotice(http.get(), printer.name, outcome.jobId);
    return outcome;
}

} // namespace quilloa
