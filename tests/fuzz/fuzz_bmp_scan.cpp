// The open command's header scan: it sees the first bytes of the file (at
// most kScanBytes) and the file's length.
#include <cstdlib>
#include <vector>

#include "formats/bmp_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t head_len = size < fmt::bmp::kScanBytes ? size : fmt::bmp::kScanBytes;
  std::vector<uint8_t> head(data, data + head_len);
  fmt::bmp::ExportFigures figures;
  figures.width = -7;
  const fmt::bmp::ScanResult r = fmt::bmp::scan_bmp(head.data(), head.size(), size, &figures);
  if (r != fmt::bmp::ScanResult::Ok) {
    if (figures.width != -7) std::abort();  // a refusal leaves the figures alone
    return 0;
  }
  if (figures.width <= 0 || figures.height <= 0 || figures.palette_size > 256) std::abort();
  if (figures.grey_entries > figures.palette_size || figures.bmp_file_size != size) std::abort();
  return 0;
}
