#include "viewer/icon/open_logic.h"

#include <cctype>
#include <cstring>

namespace viewer {

namespace {
bool ends_with_no_case(const char* path, const char* ext) {
  const size_t n = std::strlen(path), m = std::strlen(ext);
  if (n < m) return false;
  for (size_t i = 0; i < m; ++i)
    if (std::tolower(static_cast<unsigned char>(path[n - m + i])) != ext[i]) return false;
  return true;
}
}  // namespace

FileKind kind_by_extension(const char* path) {
  if (ends_with_no_case(path, ".bmp")) return FileKind::Bmp;
  if (ends_with_no_case(path, ".ico")) return FileKind::Ico;
  return FileKind::Other;
}

std::string temporary_bitmap_path(const std::string& tempDir, const char* name, bool (*exists)(const std::string&)) {
  const size_t len = std::strlen(name);
  std::string base(name, len >= 4 ? len - 4 : 0);
  base += '!';
  // The temporary directory usually ends in a backslash; the doubled
  // separator is harmless to the file system.
  std::string path = tempDir + "\\" + base + ".___";
  while (exists(path)) {
    if (path.size() >= 255) return "";
    base += '!';
    path = tempDir + "\\" + base + ".___";
  }
  if (path.size() > 255) return "";
  return path;
}

}  // namespace viewer
