#pragma once

// Device numbers only name a lock in /proc/locks, which Windows does not have.
#define major(device) (static_cast<unsigned>(device) >> 8)
#define minor(device) (static_cast<unsigned>(device) & 0xffu)
