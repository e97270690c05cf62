#pragma once

namespace quilloa {

// How long a store held by another program is waited for, by every way the program opens one.
// Long enough for another program's save to finish, short enough that a store held longer is
// told before the user thinks the program hung.
inline constexpr int kLockWaitMilliseconds = 1000;

} // namespace quilloa
