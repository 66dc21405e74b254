// Icons built from bitmap pairs that Pillow and ImageMagick wrote: Pillow
// reads them back clear exactly where the pair differs and with the 1st
// bitmap's colours elsewhere, and ImageMagick's identify accepts them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bmp_icon_fixtures.h"
#include "formats/icon_build.h"
#include "formats/icon_layout.h"
#include "thirdparty_files.h"

using fixtures::Bytes;
namespace fs = std::filesystem;
using namespace thirdparty;

namespace {

constexpr int kW = 13, kH = 5;

fs::path scratch(const std::string& name) { return scratch_file("icon_build_thirdparty", name); }

bool changed(int x, int y) { return (2 * x + y) % 7 == 0; }

// The 1st picture as RGB bytes, top row first: `colours` colours (0: true
// colour). The 2nd takes, at the changed pixels, another colour of the
// same set, so both files share one colour table.
Bytes picture(int colours, bool second) {
  Bytes rgb;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      int k = (x * 3 + y * 5) % (colours ? colours : 97);
      if (second && changed(x, y)) k = (k + 1) % (colours ? colours : 97);
      if (colours == 2) {
        const uint8_t v = k ? 255 : 0;
        rgb.insert(rgb.end(), {v, v, v});
      } else if (colours) {
        rgb.insert(rgb.end(), {static_cast<uint8_t>(40 + 13 * k), static_cast<uint8_t>(250 - 9 * k),
                               static_cast<uint8_t>(k * 37 % 256)});
      } else {
        rgb.insert(rgb.end(), {static_cast<uint8_t>(x * 19 + k), static_cast<uint8_t>(y * 50 + 1),
                               static_cast<uint8_t>((x * y * 7 + (second && changed(x, y) ? 1 : 0)) % 256)});
      }
    }
  return rgb;
}

// Builds the icon of the two bitmaps and checks it with both tools; the
// icon has icon_bits.
void check_icon_of(const Bytes& a, const Bytes& b, int bits, int icon_bits, const Bytes& colours_rgb,
                   const std::string& stem) {
  ASSERT_GT(a.size(), 54u);
  ASSERT_EQ(fmt::get_u16le(&a[28]), bits) << "the tool wrote another depth";
  ASSERT_EQ(fmt::icon::check_pair(a.data(), a.size(), a.size(), b.data(), b.size(), b.size()),
            fmt::icon::PairCheck::Ok);
  const Bytes ico = fmt::icon::build_icon(a.data(), a.size(), b.data(), b.size());
  ASSERT_GT(ico.size(), 36u);
  EXPECT_EQ(fmt::get_u16le(&ico[22 + 14]), icon_bits);
  const fs::path ico_path = scratch(stem + ".ico");
  write_file(ico_path, ico);
  EXPECT_EQ(run(std::string(kIdentify) + " " + ico_path.string() + " >/dev/null"), 0);
  const Bytes rgba = pillow_decode(ico_path, "RGBA");
  ASSERT_EQ(rgba.size(), size_t{4} * kW * kH);
  write_file(scratch(stem + ".rgba"), rgba);  // what the end-to-end test holds Windows' drawing to
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      const size_t i = static_cast<size_t>(y * kW + x);
      if (changed(x, y)) {
        EXPECT_EQ(rgba[4 * i + 3], 0);
        continue;
      }
      EXPECT_EQ(rgba[4 * i + 3], 255);
      EXPECT_EQ(Bytes(rgba.begin() + static_cast<long>(4 * i), rgba.begin() + static_cast<long>(4 * i + 3)),
                Bytes(colours_rgb.begin() + static_cast<long>(3 * i), colours_rgb.begin() + static_cast<long>(3 * i + 3)));
    }
}

}  // namespace

TEST(IconBuildThirdParty, ImageMagickBitmapPairs) {
  if (!fs::exists(kConvert) || !fs::exists(kIdentify)) GTEST_SKIP() << "ImageMagick is not installed";
  struct Case {
    int colours, bits;
    const char* type;
  };
  for (const Case c : {Case{2, 1, "Bilevel"}, Case{12, 4, "Palette"}, Case{40, 8, "Palette"}, Case{0, 24, "TrueColor"}}) {
    SCOPED_TRACE(c.bits);
    const std::string stem = "im" + std::to_string(c.bits);
    for (const bool second : {false, true}) {
      const fs::path ppm = scratch(stem + (second ? "b.ppm" : "a.ppm"));
      write_file(ppm, ppm_of(kW, kH, picture(c.colours, second)));
      // BMP3: the 40-byte info header form; uncompressed (by default 8-bit
      // files come out RLE8, which the icon maker refuses).
      // The 2nd takes the 1st's colour map: ImageMagick orders a table by
      // the picture, and the pair must share one.
      const std::string remap = second && c.colours ? " -remap " + scratch(stem + "a.bmp").string() : "";
      ASSERT_EQ(run(std::string(kConvert) + " " + ppm.string() + remap + " -type " + c.type + " -compress None BMP3:" +
                    scratch(stem + (second ? "b.bmp" : "a.bmp")).string()),
                0);
    }
    check_icon_of(read_file(scratch(stem + "a.bmp")), read_file(scratch(stem + "b.bmp")), c.bits, c.bits,
                  picture(c.colours, false), stem);
  }
}

TEST(IconBuildThirdParty, PillowBitmapPairs) {
  if (!have_pillow()) GTEST_SKIP() << "Pillow is not installed";
  if (!fs::exists(kIdentify)) GTEST_SKIP() << "ImageMagick is not installed";
  struct Case {
    int colours, bits;
    const char* mode;
  };
  for (const Case c : {Case{2, 1, "1"}, Case{40, 8, "P"}, Case{0, 24, "RGB"}}) {
    SCOPED_TRACE(c.bits);
    const std::string stem = "pil" + std::to_string(c.bits);
    // Palette pictures get one fixed palette (the colours in order of first
    // appearance in the 1st picture), so both files carry the same table.
    const Bytes a = picture(c.colours, false);
    ASSERT_TRUE(pillow_write(scratch(stem + "a.bmp"), c.mode, kW, kH, a));
    ASSERT_TRUE(pillow_write(scratch(stem + "b.bmp"), c.mode, kW, kH, picture(c.colours, true), a));
    check_icon_of(read_file(scratch(stem + "a.bmp")), read_file(scratch(stem + "b.bmp")), c.bits, c.bits, a, stem);
  }
}

// A full table without black gives an icon one depth up, with black added
// to its table (24 bits for 256 colours): both tools read it at its new
// layout, clear where the pair differs.
TEST(IconBuildThirdParty, IconsOfFullTablesWithoutBlackReadBack) {
  if (!fs::exists(kIdentify)) GTEST_SKIP() << "ImageMagick is not installed";
  if (!have_pillow()) GTEST_SKIP() << "Pillow is not installed";
  for (const int bits : {1, 4, 8}) {
    SCOPED_TRACE(bits);
    const uint32_t n = 1u << bits;
    Bytes table;
    for (uint32_t i = 0; i < n; ++i)
      table.insert(table.end(), {static_cast<uint8_t>(255 - i), static_cast<uint8_t>(20 + i / 2),
                                 static_cast<uint8_t>(i * 7 + 1), 0});
    auto index = [&](uint32_t x, uint32_t y) { return (x * 3 + y * 5) % n; };
    const Bytes rows_a = fixtures::pack_rows(kW, kH, bits, index);
    const Bytes rows_b = fixtures::pack_rows(kW, kH, bits, [&](uint32_t x, uint32_t y) {
      return changed(static_cast<int>(x), static_cast<int>(y)) ? (index(x, y) + 1) % n : index(x, y);
    });
    Bytes rgb;
    for (uint32_t y = 0; y < kH; ++y)
      for (uint32_t x = 0; x < kW; ++x) {
        const uint32_t k = index(x, y);
        rgb.insert(rgb.end(), {table[4 * k + 2], table[4 * k + 1], table[4 * k]});
      }
    const Bytes info = fixtures::info_header(kW, kH, bits, 0, static_cast<uint32_t>(rows_a.size()));
    check_icon_of(fixtures::bmp_file(info, table, rows_a), fixtures::bmp_file(info, table, rows_b), bits,
                  bits == 1 ? 4 : bits == 4 ? 8 : 24, rgb, "full" + std::to_string(bits));
  }
}
