#include "formats/icon_convert.h"

#include <cstring>
#include <exception>

#include "formats/bmp_header.h"
#include "formats/bytes.h"

namespace fmt::icon {

namespace {

constexpr uint32_t kBmpHeaders = bmp::kFileHeaderSize + bmp::kInfoHeaderSize;
// Entries 2 to 15 of the table of a converted 2-colour icon, red, green, blue;
// 2 to 9 are the colours offered for masked pixels.
constexpr RgbEntry kFixedEntries[14] = {
    {128, 0, 0},   {128, 128, 0}, {0, 128, 0}, {0, 128, 128}, {0, 0, 128}, {128, 0, 128},
    {0, 0, 0},     {255, 255, 255}, {0, 0, 0}, {0, 0, 0},     {0, 0, 0},   {0, 0, 0},
    {0, 0, 0},     {0, 0, 0}};

uint32_t converted_entries(int icon_bits) { return icon_bits == 24 ? 0 : (icon_bits == 8 ? 256 : 16); }

// The figures must be those of a valid icon of exactly icon_len bytes whose
// converted form fits a BMP file's 32-bit size field.
bool belongs(const uint8_t* icon, size_t icon_len, const IconFigures& f) {
  if (!icon || f.width <= 0 || f.height <= 0) return false;
  if (f.bits != 1 && f.bits != 4 && f.bits != 8 && f.bits != 24) return false;
  const auto w = static_cast<uint32_t>(f.width), h = static_cast<uint32_t>(f.height);
  return f.file_size == icon_len && expected_file_size(w, h, f.bits) == icon_len &&
         converted_file_size(f) <= UINT32_MAX;
}

// A pixel's bit in a row of 1-bit values, most significant bit first.
int bit_of(uint8_t byte, uint32_t i) { return (byte >> (7 - i)) & 1; }

}  // namespace

int converted_bits(int icon_bits) { return icon_bits == 1 ? 4 : icon_bits; }

uint64_t converted_row_bytes(uint32_t width, int icon_bits) {
  return xor_row_bytes(width, converted_bits(icon_bits));
}

uint32_t converted_pixel_offset(int icon_bits) { return kBmpHeaders + 4 * converted_entries(icon_bits); }

uint64_t converted_file_size(const IconFigures& f) {
  return converted_pixel_offset(f.bits) +
         uint64_t(static_cast<uint32_t>(f.height)) *
             converted_row_bytes(static_cast<uint32_t>(f.width), f.bits);
}

bool conversion_fits(const IconFigures& f, uint64_t limit) {
  return f.file_size <= limit && converted_file_size(f) <= limit - f.file_size;
}

std::vector<uint8_t> icon_to_bmp(const uint8_t* icon, size_t icon_len, const IconFigures& f, uint64_t limit) {
  if (!belongs(icon, icon_len, f) || !conversion_fits(f, limit)) return {};
  const auto w = static_cast<uint32_t>(f.width), h = static_cast<uint32_t>(f.height);
  const auto out_row = static_cast<size_t>(converted_row_bytes(w, f.bits));
  const uint32_t offset = converted_pixel_offset(f.bits);
  const uint32_t entries = converted_entries(f.bits);
  const auto size = static_cast<uint32_t>(converted_file_size(f));
  const uint32_t image_size = size - offset;

  std::vector<uint8_t> out;
  try {
    out.assign(size, 0);
  } catch (const std::exception&) {  // bad_alloc, or length_error above the library's maximum
    return {};
  }
  uint8_t* p = out.data();
  bmp::FileHeader file;
  file.type = bmp::kMagic;
  file.declared_size = size;
  file.pixel_offset = offset;
  bmp::put_file_header(file, p);
  bmp::InfoHeader info;
  info.width = static_cast<int32_t>(w);
  info.height = static_cast<int32_t>(h);  // positive: rows bottom-up, as in the icon
  info.bit_count = static_cast<uint32_t>(converted_bits(f.bits));
  info.image_size = image_size;
  info.colours_used = info.colours_important = entries;
  bmp::put_info_header(p + bmp::kFileHeaderSize, info);

  if (f.bits != 1) {
    // Same depth: the table and the XOR rows are already the bitmap's.
    const size_t body = size - kBmpHeaders;
    std::memcpy(p + kBmpHeaders, icon + kColourTableOffset, body);
    return out;
  }

  std::memcpy(p + kBmpHeaders, icon + kColourTableOffset, 8);
  for (uint32_t i = 0; i < 14; ++i) {
    uint8_t* e = p + kBmpHeaders + 8 + 4 * i;
    e[0] = kFixedEntries[i].blue;
    e[1] = kFixedEntries[i].green;
    e[2] = kFixedEntries[i].red;
  }
  // Each 1-bit index becomes a 4-bit one; the icon row's padding bits spread
  // too and are cut off at the end of the output row.
  const auto in_row = static_cast<size_t>(and_row_bytes(w));  // equal to the XOR row for 1 bit
  for (uint32_t r = 0; r < h; ++r) {
    const uint8_t* src = icon + xor_offset(1) + r * in_row;
    uint8_t* dst = p + offset + r * out_row;
    for (size_t k = 0, n = 0; k < in_row; ++k)
      for (uint32_t j = 0; j < 4 && n < out_row; ++j, ++n)
        dst[n] = static_cast<uint8_t>(bit_of(src[k], 2 * j) * 16 + bit_of(src[k], 2 * j + 1));
  }
  return out;
}

bool has_masked_pixels(const uint8_t* icon, size_t icon_len, const IconFigures& f) {
  if (!belongs(icon, icon_len, f)) return false;
  const uint64_t start = and_offset(f.file_size, static_cast<uint32_t>(f.height),
                                    static_cast<uint32_t>(f.width));
  for (size_t i = static_cast<size_t>(start); i < icon_len; ++i)
    if (icon[i] != 0) return true;
  return false;
}

bool converted_figures(const std::vector<uint8_t>& bmp, bmp::ExportFigures* out) {
  return bmp::scan_bmp(bmp.data(), bmp.size(), bmp.size(), out) == bmp::ScanResult::Ok;
}

std::vector<RgbEntry> mask_palette(const uint8_t* icon, size_t icon_len, const IconFigures& f) {
  if (!belongs(icon, icon_len, f) || f.bits == 24) return {};
  std::vector<RgbEntry> pal(converted_entries(f.bits));
  const uint32_t own = palette_entries(f.bits);  // 2 of the 16 for 1 bit
  for (uint32_t i = 0; i < own; ++i) {
    const uint8_t* e = icon + kColourTableOffset + 4 * i;
    pal[i] = RgbEntry{e[2], e[1], e[0]};
  }
  for (uint32_t i = own; i < pal.size(); ++i) pal[i] = kFixedEntries[i - 2];
  return pal;
}

bool paint_masked(std::vector<uint8_t>& bmp, const uint8_t* icon, size_t icon_len,
                  const IconFigures& f, uint8_t mask_index, uint32_t mask_colour) {
  if (!belongs(icon, icon_len, f) || bmp.size() != converted_file_size(f)) return false;
  if ((f.bits == 1 || f.bits == 4) && mask_index > 15) return false;

  const auto w = static_cast<uint32_t>(f.width), h = static_cast<uint32_t>(f.height);
  const auto mask_row = static_cast<size_t>(and_row_bytes(w));
  const auto out_row = static_cast<size_t>(converted_row_bytes(w, f.bits));
  const uint8_t* mask = icon + and_offset(f.file_size, h, w);
  uint8_t* rows = bmp.data() + converted_pixel_offset(f.bits);
  const uint8_t m = mask_index;
  const uint8_t colour[3] = {static_cast<uint8_t>((mask_colour >> 16) & 0xFF),  // blue
                             static_cast<uint8_t>((mask_colour >> 8) & 0xFF),   // green
                             static_cast<uint8_t>(mask_colour & 0xFF)};         // red

  for (uint32_t r = 0; r < h; ++r) {
    uint8_t* dst = rows + r * out_row;
    for (size_t k = 0; k < mask_row; ++k) {
      const uint8_t bits = mask[r * mask_row + k];
      const size_t x0 = 8 * k;
      switch (f.bits) {
        case 1: {
          // Every pair inside the width is rewritten from the icon, masked or not.
          const uint8_t xr = icon[xor_offset(1) + r * mask_row + k];
          for (uint32_t j = 0; j < 4 && x0 + 2 * j < w; ++j) {
            const int first = bit_of(bits, 2 * j) ? m : bit_of(xr, 2 * j);
            const int second = bit_of(bits, 2 * j + 1) ? m : bit_of(xr, 2 * j + 1);
            dst[(x0 + 2 * j) / 2] = static_cast<uint8_t>(first * 16 + second);
          }
          break;
        }
        case 4: {
          const uint8_t* src = icon + xor_offset(4) + r * out_row;
          for (uint32_t j = 0; j < 4 && x0 + 2 * j < w; ++j) {
            const size_t p = (x0 + 2 * j) / 2;
            const bool first = bit_of(bits, 2 * j), second = bit_of(bits, 2 * j + 1);
            if (first && second) dst[p] = static_cast<uint8_t>(m * 17);
            else if (first) dst[p] = static_cast<uint8_t>(m * 16 + (src[p] & 0x0F));
            else if (second) dst[p] = static_cast<uint8_t>((src[p] & 0xF0) + m);
          }
          break;
        }
        case 8:
          for (uint32_t i = 0; i < 8 && x0 + i < w; ++i)
            if (bit_of(bits, i)) dst[x0 + i] = m;
          break;
        default:  // 24
          for (uint32_t i = 0; i < 8 && x0 + i < w; ++i)
            if (bit_of(bits, i)) std::memcpy(dst + 3 * (x0 + i), colour, 3);
          break;
      }
    }
  }
  return true;
}

}  // namespace fmt::icon
