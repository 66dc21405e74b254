// Writing the icon of two open bitmaps without ever destroying a file: the
// icon is built in memory, written to a new file beside the target and
// only then moved over it.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "formats/icon_build.h"

namespace viewer {

struct InputBitmap {
  HANDLE file = INVALID_HANDLE_VALUE;
  uint8_t head[fmt::icon::kPairHeadBytes] = {};
  size_t headLength = 0;  // bytes of head read: the file's first ones
  uint64_t size = 0;      // the file's length
};

// Reads the head and length of an open file.
bool read_head(InputBitmap& bitmap);

// Builds the icon of the two files and writes it to target. False, with
// the target and the inputs unchanged, when the target is one of the
// inputs or anything fails.
bool write_icon_file(const InputBitmap& first, const InputBitmap& second, const char* target);

}  // namespace viewer
