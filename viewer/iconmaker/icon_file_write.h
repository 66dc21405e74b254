// Writing the icon of two open bitmaps without ever destroying a file: the
// icon is built in memory and replaces the target through
// frame::replace_file.
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

enum class IconWrite { Written, PathTooLong, Failed };

// Builds the icon of the two files and writes it to target. Unless written,
// the target and the inputs are unchanged: the target is one of the inputs,
// read-only, too deep for a temporary name beside it, or anything failed.
IconWrite write_icon_file(const InputBitmap& first, const InputBitmap& second, const char* target);

}  // namespace viewer
