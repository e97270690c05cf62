#pragma once

#include <QString>

#include <cups/cups.h>

namespace quilloa {

// A look at a job just handed to CUPS, for a few seconds at most: whether the queue holds it
// or the printer is paused, so that the user learns why nothing comes out and what releases it.
class CupsJobWatch
{
public:
    static constexpr int kWatchMs = 3000;
    static constexpr int kStepMs = 200;

    // The notice for the user, or empty when the job is printing, printed, or simply queued.
    [[nodiscard]] static QString waitingNotice(http_t* http, const QString& printer, int jobId);
};

} // namespace quilloa
