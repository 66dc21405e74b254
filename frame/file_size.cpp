#include "frame/file_size.h"

namespace frame {

bool file_size(HANDLE file, uint64_t* size) {
  DWORD high = 0;
  SetLastError(NO_ERROR);
  const DWORD low = GetFileSize(file, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  *size = (uint64_t{high} << 32) | low;
  return true;
}

}  // namespace frame
