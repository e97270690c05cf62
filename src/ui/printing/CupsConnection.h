#pragma once

#include <cups/cups.h>

#include <chrono>

namespace quilloa {

// A connection of the program's own to the print service, with a time limit on every answer.
// On libcups' shared default connection a service that takes the connection and then never
// answers (a scheduler hung on a driver, a print server gone quiet) keeps the window waiting
// for good; here such a wait is given up after the limit and told like a stopped service.
class CupsConnection
{
public:
    // A scheduler on this computer or the clinic's network answers in well under a second.
    // libcups tries a request again a few times after each limit, so a silent service is given
    // up after some multiple of it.
    static constexpr std::chrono::milliseconds kDefaultLimit{3000};

    explicit CupsConnection(std::chrono::milliseconds limit = kDefaultLimit);
    ~CupsConnection();
    CupsConnection(const CupsConnection&) = delete;
    CupsConnection& operator=(const CupsConnection&) = delete;

    // Null when the service could not be reached within the limit.
    http_t* get() const { return m_http; }
    // The destination named `name`, or the user's default one for null, as a one-entry list the
    // caller frees with cupsFreeDests(1, …); null when there is none or no answer came. Looked
    // up in the service's whole list: cupsGetNamedDest falls back, for a queue it cannot find,
    // on lookups over libcups' own default connection, which wait a minute each.
    [[nodiscard]] cups_dest_t* findDest(const char* name) const;
    // True when the service could not be reached, or an answer did not come within the limit.
    bool unanswered() const { return !m_http || m_timedOut; }

private:
    static int giveUp(http_t* http, void* self);

    http_t* m_http = nullptr;
    bool m_timedOut = false;
};

} // namespace quilloa
