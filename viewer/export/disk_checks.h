// Checks of the drive a file lives on. The viewer opens and saves files on
// fixed disks only.
#pragma once

namespace viewer {
// True exactly when the system reports a fixed disk for the root (the first
// three characters of a path, e.g. "C:\").
bool is_fixed_disk(const char* root);
}  // namespace viewer
