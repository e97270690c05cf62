#include "ui/printing/CupsJobWatch.h"

#include <QElapsedTimer>
#include <QThread>

#include <cups/cups.h>

#include <memory>

namespace quilloa {

namespace {

struct IppFree
{
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppFree>;

// One answer of the scheduler on the job, or of its printer; empty when it could not be asked.
IppPtr askScheduler(http_t* http, ipp_op_t operation, const char* uriName, const QByteArray& uri,
                    const char* const* wanted, int wantedCount)
{
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", wantedCount,
                  nullptr, wanted);
    IppPtr response(cupsDoRequest(http, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        return nullptr;
    }
    return response;
}

int enumValue(ipp_t* response, const char* name)
{
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ENUM);
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

int jobState(http_t* http, int jobId)
{
    static const char* const wanted[] = {"job-state"};
    const QByteArray uri = QStringLiteral("ipp://localhost/jobs/%1").arg(jobId).toUtf8();
    const IppPtr answer = askScheduler(http, IPP_OP_GET_JOB_ATTRIBUTES, "job-uri", uri, wanted, 1);
    return answer ? enumValue(answer.get(), "job-state") : 0;
}

bool printerPaused(http_t* http, const QString& printer)
{
    static const char* const wanted[] = {"printer-state"};
    const QByteArray uri = QStringLiteral("ipp://localhost/printers/%1").arg(printer).toUtf8();
    const IppPtr answer =
        askScheduler(http, IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", uri, wanted, 1);
    return answer && enumValue(answer.get(), "printer-state") == IPP_PSTATE_STOPPED;
}

QString heldNotice(const QString& printer, int jobId)
{
    return QStringLiteral(
               "这份已送到打印机“%1”，但被保留在它的打印队列里（任务 %2），不会自己印出来。"
               "请在系统的打印机设置中打开这台打印机的任务列表，选中这份任务，选“继续”"
               "（释放）即可印出；或在终端运行：lp -i %1-%2 -H resume")
        .arg(printer)
        .arg(jobId);
}

QString pausedNotice(const QString& printer)
{
    return QStringLiteral(
               "这份已送到打印机“%1”，但这台打印机已暂停，这份在队列里等着，还没有印出来。"
               "请在系统的打印机设置中让这台打印机“继续”（恢复打印），这份就会印出；"
               "或在终端运行：cupsenable %1")
        .arg(printer);
}

} // namespace

QString CupsJobWatch::waitingNotice(http_t* http, const QString& printer, int jobId)
{
    QElapsedTimer watched;
    watched.start();
    for (;;) {
        const int state = jobState(http, jobId);
        if (state == IPP_JSTATE_HELD) {
            return heldNotice(printer, jobId);
        }
        if (state == IPP_JSTATE_PENDING || state == IPP_JSTATE_STOPPED ||
            state == IPP_JSTATE_PROCESSING) {
            if (printerPaused(http, printer)) {
                return pausedNotice(printer);
            }
        } else {
            return QString(); // printed, cancelled by someone, or no answer: nothing to tell
        }
        if (watched.elapsed() >= kWatchMs) {
            return QString();
        }
        QThread::msleep(kStepMs);
    }
}

} // namespace quilloa
