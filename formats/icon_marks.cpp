#include "formats/icon_marks.h"

#include <algorithm>
#include <array>

#include "formats/capture_icon.h"
#include "formats/icon_layout.h"

namespace fmt::icon_marks {

namespace ci = fmt::capture_icon;

std::vector<uint8_t> apply_marks(const uint8_t* file, size_t len, uint32_t n, int colours, const uint8_t* marks) {
  if (!ci::supported(n, colours) || file == nullptr || marks == nullptr) return {};
  const int bits = ci::bits_for(colours);
  if (len != icon::expected_file_size(n, n, bits)) return {};
  const std::array<uint8_t, ci::kHeaderSize> header = ci::icon_header(n, colours);
  if (!std::equal(header.begin(), header.end(), file)) return {};

  std::vector<uint8_t> out(file, file + len);
  const auto xorStride = static_cast<size_t>(icon::xor_row_bytes(n, bits));
  const auto andStride = static_cast<size_t>(icon::and_row_bytes(n));
  const size_t xorAt = icon::xor_offset(bits);
  const auto andAt = static_cast<size_t>(icon::and_offset(len, n, n));
  for (uint32_t r = 0; r < n; ++r) {
    // File rows run from the bottom of the image up.
    const uint8_t* row = marks + size_t{n - 1 - r} * kGridSide;
    for (uint32_t x = 0; x < n; ++x) {
      if (!row[x]) continue;
      // The leftmost pixel of a byte is its most significant bit; a pixel
      // already transparent stays so, and unmarked ones keep their bit.
      out[andAt + r * andStride + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
      uint8_t& index = out[xorAt + r * xorStride + x * static_cast<uint32_t>(bits) / 8];
      if (bits == 8)
        index = 0;
      else
        index = static_cast<uint8_t>(index & (x % 2 == 0 ? 0x0F : 0xF0));  // the left pixel is the high half
    }
  }
  return out;
}

bool any_marked(const uint8_t* marks, uint32_t n) {
  for (uint32_t j = 0; j < n && j < kGridSide; ++j)
    for (uint32_t k = 0; k < n && k < kGridSide; ++k)
      if (marks[j * kGridSide + k]) return true;
  return false;
}

}  // namespace fmt::icon_marks
