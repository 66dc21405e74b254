// Making an icon of two bitmaps: the first byte of the input shapes the
// 2nd file out of the 1st, the rest is the 1st file. Some bits of the 2nd
// are flipped: from its rows on (the 1st file's pixel offset), so that the
// pair passes the checks and reaches the construction, or, with bit 6 of
// the shape, from the info header on, so that the checks are tried too.
// Bit 7 cuts the 2nd file short. Whatever the files hold, the checks and
// the construction agree, every icon made is one the viewer's reader
// accepts at exactly its expected size, and every pixel its mask marks is
// black, so that Windows shows the background there.
#include <cstdlib>
#include <vector>

#include "formats/bytes.h"
#include "formats/icon_build.h"
#include "formats/icon_layout.h"

namespace {

using namespace fmt::icon;

bool marked_pixels_are_black(const std::vector<uint8_t>& icon, const IconFigures& f) {
  const auto w = static_cast<uint32_t>(f.width), h = static_cast<uint32_t>(f.height);
  const uint64_t rx = xor_row_bytes(w, f.bits), ra = and_row_bytes(w);
  const uint64_t xor_at = xor_offset(f.bits), and_at = and_offset(icon.size(), h, w);
  for (uint32_t r = 0; r < h; ++r) {
    const uint8_t* row = &icon[static_cast<size_t>(xor_at + r * rx)];
    const uint8_t* mask = &icon[static_cast<size_t>(and_at + r * ra)];
    for (uint32_t x = 0; x < w; ++x) {
      if (!((mask[x / 8] >> (7 - x % 8)) & 1)) continue;
      const uint8_t* colour = row + 3 * size_t{x};
      if (f.bits != 24) {
        const uint32_t per = 8 / static_cast<uint32_t>(f.bits);
        const uint32_t shift = static_cast<uint32_t>(f.bits) * (per - 1 - x % per);
        colour = &icon[kColourTableOffset + 4 * size_t{(row[x / per] >> shift) & ((1u << f.bits) - 1)}];
      }
      if (colour[0] != 0 || colour[1] != 0 || colour[2] != 0) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t shape = data[0];
  const std::vector<uint8_t> first(data + 1, data + size);
  std::vector<uint8_t> second = first;
  size_t from = 14;
  if (!(shape & 0x40) && first.size() >= 14) {
    const uint32_t rows = fmt::get_u32le(&first[10]);
    from = rows > from ? rows : from;
  }
  for (size_t i = from; i < second.size(); ++i)
    if ((i * 7 + shape) % 11 == 0) second[i] = static_cast<uint8_t>(second[i] ^ (1u << (shape % 8)));
  if (shape & 0x80) second.resize(second.size() - (shape & 0x0F) % second.size());

  const size_t head1 = first.size() < kPairHeadBytes ? first.size() : kPairHeadBytes;
  const size_t head2 = second.size() < kPairHeadBytes ? second.size() : kPairHeadBytes;
  const PairCheck c = check_pair(first.data(), head1, first.size(), second.data(), head2, second.size());
  const std::vector<uint8_t> icon = build_icon(first.data(), first.size(), second.data(), second.size());
  if (c != PairCheck::Ok) {
    if (!icon.empty()) std::abort();
    return 0;
  }
  if (icon.empty()) return 0;  // only an icon too large for its directory
  IconFigures f;
  if (check_icon(icon.data(), icon.size(), icon.size(), &f) != IconCheckResult::Ok) std::abort();
  if (icon.size() != expected_file_size(static_cast<uint32_t>(f.width), static_cast<uint32_t>(f.height), f.bits))
    std::abort();
  if (!marked_pixels_are_black(icon, f)) std::abort();
  return 0;
}
