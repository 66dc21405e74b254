// Transparent pixels written into an icon. The first byte picks the form and
// whether the rest is taken as the whole file (almost always refused) or as
// the pixel bytes of a file with the form's own header; the marks come from
// the input too. A rewritten file must pass the icon checks, and only the
// marked pixels may differ: AND bit 1 and index 0 there, every other byte as
// it was.
#include <cstdlib>
#include <vector>

#include "formats/capture_icon.h"
#include "formats/icon_layout.h"
#include "formats/icon_marks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fmt;
  if (size < 1) return 0;
  const uint32_t n = 16u * (1u + (data[0] & 3u));
  const int colours = data[0] & 4 ? 256 : 16;
  const bool raw = (data[0] & 8) != 0;
  const int bits = colours == 256 ? 8 : 4;
  const auto len = static_cast<size_t>(icon::expected_file_size(n, n, bits));
  ++data;
  --size;

  std::vector<uint8_t> file;
  if (raw) {
    file.assign(data, data + size);
  } else {
    const auto header = capture_icon::icon_header(n, colours);
    file.assign(header.begin(), header.end());
    for (size_t i = file.size(); i < len; ++i) file.push_back(size ? data[i % size] : 0);
  }
  // The marks: bits of the input from its end backwards, one per cell.
  std::vector<uint8_t> marks(icon_marks::kGridCells, 0);
  for (size_t i = 0; i < marks.size() && size; ++i) marks[i] = (data[size - 1 - (i / 8) % size] >> (i % 8)) & 1;

  const std::vector<uint8_t> out = icon_marks::apply_marks(file.data(), file.size(), n, colours, marks.data());
  if (out.empty()) {
    if (!raw) std::abort();  // a file of the form's own header and size is taken
    return 0;
  }
  if (out.size() != file.size()) std::abort();
  icon::IconFigures f;
  if (icon::check_icon(out.data(), out.size(), out.size(), &f) != icon::IconCheckResult::Ok) std::abort();
  if (f.width != static_cast<int32_t>(n) || f.height != static_cast<int32_t>(n) || f.bits != bits) std::abort();

  // Every byte of the file is one of: untouched, or a pixel's index or AND
  // bit. Rebuild the expected file pixel by pixel and compare whole.
  std::vector<uint8_t> expected = file;
  const size_t xorAt = icon::xor_offset(bits), xorStride = static_cast<size_t>(icon::xor_row_bytes(n, bits));
  const auto andAt = static_cast<size_t>(icon::and_offset(file.size(), n, n));
  const auto andStride = static_cast<size_t>(icon::and_row_bytes(n));
  bool anyMarked = false;
  for (uint32_t y = 0; y < n; ++y)
    for (uint32_t x = 0; x < n; ++x) {
      if (!marks[y * icon_marks::kGridSide + x]) continue;
      anyMarked = true;
      const size_t r = n - 1 - y;
      expected[andAt + r * andStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      uint8_t& b = expected[xorAt + r * xorStride + x * bits / 8];
      b = bits == 8 ? 0 : static_cast<uint8_t>(b & (x % 2 ? 0xF0 : 0x0F));
    }
  if (out != expected) std::abort();
  if (anyMarked != icon_marks::any_marked(marks.data(), n)) std::abort();
  return 0;
}
