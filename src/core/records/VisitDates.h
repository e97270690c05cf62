#pragma once

#include <QString>

namespace quilloa {

// The visit dates a read of the archive covers: exactly one date text, or every date that
// begins with a text. "%" and "_" in the text keep acting as wildcards for a beginning, as they
// always have; the text is a bound value, never query text.
struct VisitDates
{
    enum class Match
    {
        Exact,
        Prefix,
    };

    Match match = Match::Exact;
    QString text;
};

} // namespace quilloa
