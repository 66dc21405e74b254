#include "viewer/export/save_logic.h"

#include <cstring>

namespace viewer {

namespace {

constexpr int kFromBmpFile = 0;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ends_with(const char* path, const char* ext4) {
  const size_t n = std::strlen(path);
  if (n < 4) return false;
  for (size_t i = 0; i < 4; ++i)
    if (lower(path[n - 4 + i]) != ext4[i]) return false;
  return true;
}

constexpr char kTifFilter[] = "Tiff (*.tif)\0*.tif\0";
constexpr char kBmpFilter[] = "Bitmap (*.bmp)\0*.bmp\0";

}  // namespace

SaveWriter save_writer(const char* path, int origin) {
  if (origin == kFromBmpFile) return ends_with(path, ".tif") ? SaveWriter::Tif : SaveWriter::WrongExtension;
  if (!ends_with(path, ".bmp")) return SaveWriter::WrongExtension;
  return origin == 1 ? SaveWriter::PlainBmp : SaveWriter::DisplayedBmp;
}

// Each literal ends in an explicit zero: with the compiler's own it closes the list.
const char* save_filter(int origin) { return origin == kFromBmpFile ? kTifFilter : kBmpFilter; }
const char* save_default_extension(int origin) { return origin == kFromBmpFile ? "tif" : "bmp"; }

bool enough_free_space(uint64_t freeBytes, uint64_t fileSize) { return freeBytes >= fileSize + 1000; }

}  // namespace viewer
