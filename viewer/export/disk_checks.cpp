#include "viewer/export/disk_checks.h"

#include <windows.h>

namespace viewer {

bool is_fixed_disk(const char* path) {
  char root[4] = {};
  for (int i = 0; i < 3 && path[i]; ++i) root[i] = path[i];
  return GetDriveTypeA(root) == DRIVE_FIXED;
}

}  // namespace viewer
