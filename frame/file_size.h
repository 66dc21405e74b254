// The length of an open file, by the call every 32-bit Windows has.
#pragma once
#include <windows.h>

#include <cstdint>

namespace frame {

// False when the system cannot tell (a length of 0xFFFFFFFF is told apart
// from the failure by the last error, as GetFileSize documents).
bool file_size(HANDLE file, uint64_t* size);

}  // namespace frame
