#include "ui/printing/CupsConnection.h"

namespace quilloa {

CupsConnection::CupsConnection(std::chrono::milliseconds limit)
{
    m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                          int(limit.count()), nullptr);
    if (m_http)
        httpSetTimeout(m_http, double(limit.count()) / 1000, &CupsConnection::giveUp, this);
}

CupsConnection::~CupsConnection()
{
    if (m_http)
        httpClose(m_http);
}

cups_dest_t* CupsConnection::findDest(const char* name) const
{
    if (!m_http)
        return nullptr;
    cups_dest_t* all = nullptr;
    const int count = cupsGetDests2(m_http, &all);
    cups_dest_t* found = cupsGetDest(name, nullptr, count, all);
    cups_dest_t* copy = nullptr;
    if (found)
        cupsCopyDest(found, 0, &copy);
    cupsFreeDests(count, all);
    return copy;
}

// Called by libcups when an answer is overdue; 0 ends the wait.
int CupsConnection::giveUp(http_t* /*http*/, void* self)
{
    static_cast<CupsConnection*>(self)->m_timedOut = true;
    return 0;
}

} // namespace quilloa
