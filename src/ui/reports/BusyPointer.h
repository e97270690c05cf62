#pragma once

namespace quilloa {

// Shows the busy pointer for as long as it lives, so that every way out of a query, early
// returns included, puts the normal pointer back.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace quilloa
