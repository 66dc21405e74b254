#include "formats/icon_layout.h"

#include "formats/head_reader.h"

namespace fmt::icon {

uint32_t palette_entries(int bits) {
  switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

uint64_t xor_row_bytes(uint32_t width, int bits) {
  const uint64_t w = width;
  switch (bits) {
    case 1: return 4 * ((w + 31) / 32);
    case 4: return 4 * ((w + 7) / 8);
    case 8: return 4 * ((w + 3) / 4);
    case 24: return 3 * w + (w % 4);  // 3·W rounded up to a multiple of 4
    default: return 0;
  }
}

uint64_t and_row_bytes(uint32_t width) { return 4 * ((uint64_t{width} + 31) / 32); }

uint32_t fixed_part(int bits) { return kColourTableOffset + 4 * palette_entries(bits); }

uint64_t expected_file_size(uint32_t width, uint32_t height, int bits) {
  return fixed_part(bits) + uint64_t{height} * (xor_row_bytes(width, bits) + and_row_bytes(width));
}

IconCheckResult check_icon(const uint8_t* head, size_t head_len, uint64_t file_size,
                           IconFigures* figures) {
  const HeadReader in(head, head_len, file_size);
  if (in.at(0) != 0 || in.at(1) != 0 || in.at(2) != 1 || in.at(3) != 0) return IconCheckResult::NotIcon;
  // The count comes before the info header's size: in a file of several
  // images offset 22 holds the second directory entry, not that size.
  if (in.at(4) != 1 || in.at(5) != 0) return IconCheckResult::MultipleIcons;
  if (in.at(22) != 40) return IconCheckResult::NotIcon;

  const int32_t width = static_cast<int32_t>(in.u32(26));
  const int32_t height = static_cast<int32_t>(in.u32(30)) / 2;  // XOR and AND rows together
  if (width == 0 || height == 0) return IconCheckResult::ZeroSize;

  const int bits = in.at(36);
  if ((bits != 1 && bits != 4 && bits != 8 && bits != 24) || in.at(37) != 0)
    return IconCheckResult::UnsupportedDepth;

  // Negative dimensions give sizes no real file has; computing on the
  // unsigned values keeps that check free of overflow.
  if (width < 0 || height < 0 ||
      expected_file_size(static_cast<uint32_t>(width), static_cast<uint32_t>(height), bits) !=
          file_size)
    return IconCheckResult::WrongSize;

  if (figures) *figures = IconFigures{width, height, bits, file_size};
  return IconCheckResult::Ok;
}

}  // namespace fmt::icon
