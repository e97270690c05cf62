#pragma once

#include "core/printing/PaperSetup.h"

#include <cups/cups.h>

#include <optional>

namespace quilloa {

// The paper a CUPS queue prints on when a job names none, with the strips the queue says it
// cannot print, read from what the queue itself declares as its default media.
//
// The size comes from the queue's default media collection, which the spooler builds from the
// very page size the queue is set to, margins included. Resolving the default media's name
// instead goes wrong with drivers' own paper names: libcups then matches a borderless or an
// unrelated larger size, and its plain "default media" answers the locale's paper whatever
// the queue holds. So names serve only as a cross-check, and as a fallback when a queue gives
// no collection; where the two disagree, or nothing settles the paper, the answer is none.
class CupsDefaultPaper
{
public:
    [[nodiscard]] static std::optional<PaperSetup> read(http_t* http, cups_dest_t* dest,
                                                        cups_dinfo_t* info);
};

} // namespace quilloa
