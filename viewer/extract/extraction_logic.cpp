#include "viewer/extract/extraction_logic.h"

#include <cstring>

#include "formats/bytes.h"

namespace viewer {

namespace {

uint64_t rows_of(const fmt::bmp::DibLayout& l) {
  return l.height < 0 ? uint64_t{0} - static_cast<uint64_t>(int64_t{l.height}) : static_cast<uint64_t>(l.height);
}

// The fields of a 5-5-5 pixel a choice keeps.
uint32_t kept_555(KeptChannels k) {
  return (k.blue ? 0x001Fu : 0u) | (k.green ? 0x03E0u : 0u) | (k.red ? 0x7C00u : 0u);
}

}  // namespace

KeptChannels kept_channels(int choice) {
  switch (choice) {
    case 1: return {false, true, true};   // R + G
    case 2: return {true, true, false};   // G + B
    case 3: return {true, false, true};   // B + R
    case 4: return {false, false, true};  // R
    case 5: return {false, true, false};  // G
    case 6: return {true, false, false};  // B
    default: return {true, true, true};   // R + G + B
  }
}

uint64_t extraction_copy_size(const fmt::bmp::DibLayout& l) {
  return fmt::bmp::kInfoHeaderSize + l.row_bytes * rows_of(l);
}

void fill_extraction_copy(uint8_t* copy, const uint8_t* block, const fmt::bmp::DibLayout& l) {
  std::memcpy(copy, block, fmt::bmp::kInfoHeaderSize);
  std::memcpy(copy + fmt::bmp::kInfoHeaderSize, block + l.rows_offset, static_cast<size_t>(l.row_bytes * rows_of(l)));
}

bool extraction_copy_fits(const uint8_t* copy, size_t copy_size, const uint8_t* block,
                          const fmt::bmp::DibLayout& l) {
  if (!copy || copy_size < extraction_copy_size(l)) return false;
  // Width, height, planes and bit count.
  return std::memcmp(copy + fmt::bmp::kOffWidth, block + fmt::bmp::kOffWidth, 12) == 0;
}

void extract_table(uint8_t* block, const fmt::bmp::DibLayout& l, const fmt::bmp::PaletteEntry* saved,
                   uint32_t saved_count, int choice) {
  const KeptChannels k = kept_channels(choice);
  const uint32_t n = saved_count < l.table_entries ? saved_count : l.table_entries;
  uint8_t* table = block + fmt::bmp::kInfoHeaderSize;
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t* e = table + 4 * i;
    e[0] = k.blue ? saved[i].blue : 0;
    e[1] = k.green ? saved[i].green : 0;
    e[2] = k.red ? saved[i].red : 0;
  }
}

void extract_pixels(uint8_t* block, const fmt::bmp::DibLayout& l, const uint8_t* copy, int choice) {
  if (l.bit_count != 16 && l.bit_count != 24 && l.bit_count != 32) return;
  const KeptChannels k = kept_channels(choice);
  const uint64_t rows = rows_of(l);
  const auto width = static_cast<uint32_t>(l.width);
  const uint32_t step = l.bit_count / 8;
  for (uint64_t r = 0; r < rows; ++r) {
    uint8_t* out = block + l.rows_offset + r * l.row_bytes;
    const uint8_t* in = copy + fmt::bmp::kInfoHeaderSize + r * l.row_bytes;
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* p = out + size_t{x} * step;
      const uint8_t* s = in + size_t{x} * step;
      if (l.bit_count == 16) {
        // Bit 15 belongs to no channel: it stays as the image has it.
        fmt::put_u16le(p, (fmt::get_u16le(p) & 0x8000u) | (fmt::get_u16le(s) & kept_555(k)));
        continue;
      }
      p[0] = k.blue ? s[0] : 0;
      p[1] = k.green ? s[1] : 0;
      p[2] = k.red ? s[2] : 0;
    }
  }
}

}  // namespace viewer
