// Making an icon of two bitmaps: the first byte of the input shapes the
// 2nd file out of the 1st (some bytes past the file header changed, maybe
// its end cut off), the rest is the 1st file. Whatever the files hold, the
// checks and the construction agree, and every icon made is one the
// viewer's reader accepts at exactly its expected size.
#include <cstdlib>
#include <vector>

#include "formats/icon_build.h"
#include "formats/icon_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fmt::icon;
  if (size < 2) return 0;
  const uint8_t shape = data[0];
  const std::vector<uint8_t> first(data + 1, data + size);
  std::vector<uint8_t> second = first;
  for (size_t i = 14; i < second.size(); ++i)
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
  return 0;
}
