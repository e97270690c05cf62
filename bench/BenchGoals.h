#pragma once

#include "ResultTable.h"

namespace quilloa::bench {

// The promises: a keystroke lookup well inside one 60 Hz frame, and nothing the doctor waits
// on growing slow as the archive grows.
namespace goals {

inline const Goal kDrugKeystroke{5.0, 1.5};
inline const Goal kKeystroke{5.0, std::nullopt};
inline const Goal kArchiveSearch{50.0, std::nullopt};
inline const Goal kSingleRecord{2.0, std::nullopt};
inline const Goal kMonthReport{50.0, std::nullopt};
inline const Goal kSave{20.0, std::nullopt};
inline const Goal kStartup{1000.0, std::nullopt};
inline const Goal kBackupDayStartup{3000.0, std::nullopt};
inline const Goal kNone{};

} // namespace goals
} // namespace quilloa::bench
