#pragma once

#include "ResultTable.h"

namespace quilloa::bench {

// The promises: a keystroke lookup well inside one 60 Hz frame, and nothing the doctor waits
// on growing slow as the archive grows.
namespace goals {

// Every store call stays within this of the same SQL straight through SQLite.
inline constexpr double kRawRatio = 1.5;

inline const Goal kDrugKeystroke{5.0, kRawRatio};
inline const Goal kKeystroke{5.0, std::nullopt};
inline const Goal kArchiveSearch{50.0, std::nullopt};
// The store's part of a name search, whatever the archive size.
inline const Goal kNameSearch{10.0, std::nullopt};
// A list that holds every entry found shows it at once, however many there are.
inline const Goal kListShown{20.0, std::nullopt};
// Filling the name index in the background never holds up typing longer than this, not once.
inline const Goal kTypingDuringIndexFill{50.0, std::nullopt, true};
inline const Goal kSingleRecord{2.0, std::nullopt};
inline const Goal kMonthReport{50.0, std::nullopt};
inline const Goal kSave{20.0, std::nullopt};
inline const Goal kStartup{1000.0, std::nullopt};
// The first name search after the program started is as quick as any other.
inline const Goal kFirstSearch{20.0, std::nullopt};
inline const Goal kBackupDayStartup{3000.0, std::nullopt};
inline const Goal kNone{};
// The whole benchmark, a million-record archive and a backup day included, fits a small clinic PC.
inline constexpr double kPeakMemoryMiB = 150.0;

} // namespace goals
} // namespace quilloa::bench
