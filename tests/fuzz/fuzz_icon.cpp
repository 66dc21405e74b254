// Opening an icon: validation on the head of the file, then (for a valid one)
// the conversion into a bitmap of the whole file, read exactly as large as
// the file is, and the painting of the masked pixels. The bitmap must then
// read back through the BMP reader as the viewer loads it.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formats/bmp_read.h"
#include "formats/icon_convert.h"
#include "formats/icon_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fmt;
  const size_t head_len = size < icon::kHeadBytesNeeded ? size : icon::kHeadBytesNeeded;
  std::vector<uint8_t> head(data, data + head_len);
  icon::IconFigures f;
  if (icon::check_icon(head.data(), head.size(), size, &f) != icon::IconCheckResult::Ok) return 0;
  if (f.file_size != size) std::abort();
  std::vector<uint8_t> file(data, data + size);
  std::vector<uint8_t> bmp = icon::icon_to_bmp(file.data(), file.size(), f);
  if (bmp.size() != icon::converted_file_size(f)) std::abort();
  bmp::ExportFigures figures;
  if (!icon::converted_figures(bmp, &figures)) std::abort();
  if (icon::has_masked_pixels(file.data(), file.size(), f)) {
    const std::vector<icon::RgbEntry> palette = icon::mask_palette(file.data(), file.size(), f);
    const uint8_t index = palette.empty() ? 0 : static_cast<uint8_t>(size % palette.size());
    if (!icon::paint_masked(bmp, file.data(), file.size(), f, index, 0x00808000u)) std::abort();
  }
  // The viewer reads the written bitmap with its BMP reader.
  bmp::FileHeader header;
  if (bmp::parse_file_header(bmp.data(), bmp.size(), &header) != bmp::BmpReadError::None) std::abort();
  if (header.block_size != bmp.size() - bmp::kFileHeaderSize) std::abort();
  std::vector<uint8_t> block(bmp.begin() + bmp::kFileHeaderSize, bmp.end());
  bmp::DibLayout layout;
  if (bmp::finish_dib(block.data(), block.size(), header, &layout) != bmp::BmpReadError::None) std::abort();
  if (layout.width != f.width || layout.height != f.height) std::abort();
  return 0;
}
