// The save command's decisions that need no window: which writer a path and
// an image origin lead to, the dialog's filter, and the free-space rule.
#pragma once
#include <cstdint>

namespace viewer {

enum class SaveWriter { Tif, PlainBmp, DisplayedBmp, WrongExtension };

// By the last four characters of the path, without regard to case: ".tif"
// for images opened from BMP files, ".bmp" for icons (plain copy) and pasted
// images (drawn at the displayed size).
SaveWriter save_writer(const char* path, int imageOrigin);

// The save dialog's filter (description and pattern, ended by an empty
// string) and default extension for an origin.
const char* save_filter(int imageOrigin);
const char* save_default_extension(int imageOrigin);

// Enough room when the free bytes hold the file and 1000 bytes more.
bool enough_free_space(uint64_t freeBytes, uint64_t fileSize);

}  // namespace viewer
