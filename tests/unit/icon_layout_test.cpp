#include "formats/icon_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "bmp_icon_fixtures.h"

using namespace fmt::icon;
using fixtures::Bytes;

namespace {

Bytes icon_of(int32_t w, int32_t h, int bits) { return fixtures::numbered_icon(w, h, bits, 0x0F); }

IconCheckResult check(const Bytes& f, IconFigures* out = nullptr) {
  return check_icon(f.data(), std::min<size_t>(f.size(), kHeadBytesNeeded), f.size(), out);
}

}  // namespace

TEST(IconLayout, RowSizesAndFixedParts) {
  EXPECT_EQ(xor_row_bytes(33, 1), 8u);
  EXPECT_EQ(xor_row_bytes(9, 4), 8u);
  EXPECT_EQ(xor_row_bytes(5, 8), 8u);
  for (uint32_t w : {1u, 2u, 3u, 4u, 5u, 31u})  // 3W padded up to a multiple of 4
    EXPECT_EQ(xor_row_bytes(w, 24), (3 * w + 3) / 4 * 4) << w;
  EXPECT_EQ(and_row_bytes(1), 4u);
  EXPECT_EQ(and_row_bytes(33), 8u);
  for (const auto& [bits, bytes] : {std::pair{1, 70u}, {4, 126u}, {8, 1086u}, {24, 62u}})
    EXPECT_EQ(fixed_part(bits), bytes) << bits;
  EXPECT_EQ(expected_file_size(32, 32, 4), 766u);
  EXPECT_EQ(expected_file_size(32, 32, 8), 2238u);
  EXPECT_EQ(expected_file_size(16, 16, 1), 198u);
}

// The figures come from the info header: the directory entry is never consulted.
TEST(IconLayout, AcceptsEachDepthWithItsFigures) {
  Bytes standard = icon_of(32, 32, 4);
  ASSERT_EQ(standard.size(), 766u);
  std::fill(standard.begin() + 6, standard.begin() + 18, 0);  // sizes, colours, planes, bits, bytes in resource
  IconFigures f;
  ASSERT_EQ(check(standard, &f), IconCheckResult::Ok);
  EXPECT_EQ(f.width, 32);
  EXPECT_EQ(f.height, 32);
  EXPECT_EQ(f.bits, 4);
  EXPECT_EQ(f.file_size, 766u);
  for (int bits : {1, 8, 24}) {
    ASSERT_EQ(check(icon_of(5, 3, bits), &f), IconCheckResult::Ok) << bits;
    EXPECT_EQ(f.width, 5);
    EXPECT_EQ(f.height, 3);
    EXPECT_EQ(f.bits, bits);
  }
}

// Each header fault gives its own verdict. The count is checked before the
// info header's size: a file of several images has its second directory
// entry at offset 22, so whatever that byte holds, the count decides; with a
// count of 1 the size byte decides.
TEST(IconLayout, EachHeaderFaultGivesItsVerdict) {
  struct Case {
    const char* name;
    void (*spoil)(Bytes& f);
    IconCheckResult result;
  };
  const Case cases[] = {
      {"cut before the info header", [](Bytes& f) { f.resize(22); }, IconCheckResult::NotIcon},
      {"byte 0", [](Bytes& f) { f[0] ^= 1; }, IconCheckResult::NotIcon},
      {"byte 1", [](Bytes& f) { f[1] ^= 1; }, IconCheckResult::NotIcon},
      {"byte 2", [](Bytes& f) { f[2] ^= 1; }, IconCheckResult::NotIcon},
      {"byte 3", [](Bytes& f) { f[3] ^= 1; }, IconCheckResult::NotIcon},
      {"byte 22", [](Bytes& f) { f[22] ^= 1; }, IconCheckResult::NotIcon},
      {"a cursor file", [](Bytes& f) { f[2] = 2; }, IconCheckResult::NotIcon},
      {"count 0", [](Bytes& f) { f[4] = 0; }, IconCheckResult::MultipleIcons},
      {"count 2", [](Bytes& f) { f[4] = 2; }, IconCheckResult::MultipleIcons},
      {"count 257", [](Bytes& f) { f[5] = 1; }, IconCheckResult::MultipleIcons},
      {"count 2, a second 16-pixel entry", [](Bytes& f) { f[4] = 2, f[22] = 16; }, IconCheckResult::MultipleIcons},
      {"count 2, a second 256-pixel entry", [](Bytes& f) { f[4] = 2, f[22] = 0; }, IconCheckResult::MultipleIcons},
      {"count 3, directory only, cut short", [](Bytes& f) { f[4] = 3, f.resize(22); }, IconCheckResult::MultipleIcons},
      {"count 1, info header size 16", [](Bytes& f) { f[22] = 16; }, IconCheckResult::NotIcon},
      {"doubled height 1: H = 0", [](Bytes& f) { fmt::put_u32le(&f[30], 1); }, IconCheckResult::ZeroSize},
      {"width 0", [](Bytes& f) { fmt::put_u32le(&f[26], 0); }, IconCheckResult::ZeroSize},
      {"32 bits", [](Bytes& f) { f[36] = 32; }, IconCheckResult::UnsupportedDepth},
      {"16 bits", [](Bytes& f) { f[36] = 16; }, IconCheckResult::UnsupportedDepth},
      {"2 bits", [](Bytes& f) { f[36] = 2; }, IconCheckResult::UnsupportedDepth},
      {"0 bits", [](Bytes& f) { f[36] = 0; }, IconCheckResult::UnsupportedDepth},
      {"bit count 0x104", [](Bytes& f) { f[37] = 1; }, IconCheckResult::UnsupportedDepth},
  };
  for (const Case& c : cases) {
    Bytes f = icon_of(32, 32, 4);
    c.spoil(f);
    EXPECT_EQ(check(f), c.result) << c.name;
  }
}

TEST(IconLayout, AnyOtherLayoutHasTheWrongSize) {
  const Bytes good = icon_of(32, 32, 4);
  Bytes trailing = good;
  trailing.push_back(0);
  EXPECT_EQ(check(trailing), IconCheckResult::WrongSize);

  // Image data at 38 behind a correct directory entry; the 16 bytes at 22
  // repeat the start of the info header, so every field read still passes.
  Bytes moved(good.begin(), good.begin() + 22);
  fmt::put_u32le(&moved[18], 38);
  moved.insert(moved.end(), good.begin() + 22, good.begin() + 38);
  moved.insert(moved.end(), good.begin() + 22, good.end());
  EXPECT_EQ(check(moved), IconCheckResult::WrongSize);

  // Eight colours of sixteen, declared in the colours-used field.
  Bytes short_table(good.begin(), good.begin() + 62 + 32);
  fmt::put_u32le(&short_table[54], 8);
  short_table.insert(short_table.end(), good.begin() + 126, good.end());
  EXPECT_EQ(check(short_table), IconCheckResult::WrongSize);

  // A width of -1 makes some row sizes 0 in signed arithmetic; it is refused.
  Bytes negative = icon_of(1, 1, 8);
  fmt::put_u32le(&negative[26], 0xFFFFFFFFu);
  negative.resize(1086);
  EXPECT_EQ(check(negative), IconCheckResult::WrongSize);
}
