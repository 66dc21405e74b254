// TIF files from our writers read by libtiff (tiffinfo, tiffcmp), ImageMagick
// and Pillow: no warnings, and the pixels the test knows it put in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "dib_fixture.h"
#include "dib_normalise_fixtures.h"
#include "formats/tif_write.h"
#include "thirdparty_files.h"

namespace fs = std::filesystem;
using thirdparty::output_of;
using thirdparty::read_file;
using thirdparty::write_file;
namespace tif = fmt::tif;
using fixtures::Bytes;

namespace {

fs::path scratch(const std::string& name) { return thirdparty::scratch_file("tif_thirdparty", name); }

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

struct Source {
  std::string name;
  int bits;
  std::vector<uint32_t> table;  // 0xRRGGBB
  uint32_t (*value)(uint32_t x, uint32_t y);
};

uint32_t pattern(uint32_t x, uint32_t y) { return x * 7 + y * 3 + (x * y) % 5; }
uint32_t colour24(uint32_t x, uint32_t y) { return (pattern(x, y) * 0x9E3779B1u) & 0xFFFFFF; }
uint32_t word555(uint32_t x, uint32_t y) { return (pattern(x, y) * 2654435761u >> 7) & 0x7FFF; }

// What the DIB holds at (x, y): palette indices stay inside the table (a
// short table included), colours as the source gives them.
uint32_t stored(const Source& s, uint32_t x, uint32_t y) {
  const uint32_t v = s.value(x, y);
  if (s.bits > 8) return v;
  return v % (1u << s.bits) % static_cast<uint32_t>(std::max<size_t>(s.table.size(), 1));
}

// The colour a reader must see at (x, y), worked out from what was put in:
// table entries for palette images, 5-bit fields widened by bit replication.
uint32_t expected_rgb(const Source& s, uint32_t x, uint32_t y) {
  const uint32_t v = stored(s, x, y);
  if (s.bits <= 8) return s.table[v];
  return s.bits == 16 ? normfix::masked_rgb(v, normfix::kMasks555) : v & 0xFFFFFF;
}

Bytes ppm(const Source& s, uint32_t w, uint32_t h) {
  Bytes rgb;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t c = expected_rgb(s, x, y);
      rgb.insert(rgb.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    }
  return thirdparty::ppm_of(static_cast<int>(w), static_cast<int>(h), rgb);
}

std::vector<uint32_t> colours(uint32_t n) {
  std::vector<uint32_t> t;
  for (uint32_t i = 0; i < n; ++i) t.push_back((i * 0x35A7E3u + 0x102030u) & 0xFFFFFF);
  return t;
}

}  // namespace

// Palette images with full and short tables and RGB images from 16, 24 and
// 32 bits, at widths 1, 5 and 33: tiffinfo -D is silent on stderr, ImageMagick
// finds no pixel that differs from the reference, Pillow reads the same
// pixels, and tiffcmp sees no difference between the Intel and Motorola files.
TEST(TifThirdParty, PaletteAndRgbFilesReadBackExactly) {
  const std::vector<Source> sources = {
      {"p1full", 1, colours(2), pattern},  {"p1short", 1, colours(1), pattern},
      {"p4full", 4, colours(16), pattern}, {"p4short", 4, colours(5), pattern},
      {"p8full", 8, colours(256), pattern}, {"p8short", 8, colours(16), pattern},
      {"rgb16", 16, {}, word555},          {"rgb24", 24, {}, colour24},
      {"rgb32", 32, {}, colour24},
  };
  for (const Source& s : sources)
    for (const uint32_t w : {1u, 5u, 33u}) {
      const uint32_t h = 3;
      const std::string base = s.name + "_w" + std::to_string(w);
      SCOPED_TRACE(base);
      auto d = fixtures::make_dib(w, h, s.bits, s.table, [&](uint32_t x, uint32_t y) { return stored(s, x, y); });
      const fs::path ref = scratch(base + ".ppm");
      const Bytes reference = ppm(s, w, h);
      write_file(ref, reference);
      fs::path files[2];
      for (const auto order : {tif::ByteOrder::Intel, tif::ByteOrder::Motorola}) {
        const fs::path f = scratch(base + (order == tif::ByteOrder::Intel ? "_ii.tif" : "_mm.tif"));
        write_file(f, fixtures::write_tif(d.image, order));
        files[static_cast<int>(order)] = f;
        EXPECT_EQ(output_of("tiffinfo -D " + quoted(f) + " 2>&1 >/dev/null"), "") << f;
        EXPECT_EQ(output_of("compare -metric AE " + quoted(f) + " " + quoted(ref) + " null: 2>&1"), "0") << f;
        EXPECT_EQ(thirdparty::pillow_decode(f, "RGB"), Bytes(reference.end() - 3 * w * h, reference.end())) << f;
      }
      EXPECT_EQ(output_of("tiffcmp " + quoted(files[0]) + " " + quoted(files[1]) + " 2>&1"), "");
    }
}

// 16-bit grey files in both orders: tiffinfo is silent, and every sample
// ImageMagick reads (it applies the Motorola file's white-is-zero) lies
// within one 8-bit step of 257 x the pixel's grey level.
TEST(TifThirdParty, Grey16FilesReadWithinTheDitherRange) {
  for (const uint32_t w : {1u, 5u, 33u})
    for (const auto order : {tif::ByteOrder::Intel, tif::ByteOrder::Motorola}) {
      const uint32_t h = 40;
      auto level = [](uint32_t x, uint32_t y) { return (x * 37 + y * 11) % 256; };
      auto d = fixtures::make_dib(w, h, 8, fixtures::grey_table(256), level);
      const std::string base = "grey16_w" + std::to_string(w) + (order == tif::ByteOrder::Intel ? "_ii" : "_mm");
      SCOPED_TRACE(base);
      const fs::path f = scratch(base + ".tif"), raw = scratch(base + ".gray");
      write_file(f, fixtures::write_tif(d.image, order, true, tif::dither_seed(420, 17)));
      EXPECT_EQ(output_of("tiffinfo -D " + quoted(f) + " 2>&1 >/dev/null"), "");
      fs::remove(raw);
      ASSERT_EQ(output_of("convert " + quoted(f) + " -depth 16 -endian MSB gray:" + quoted(raw) + " 2>&1"), "");
      const Bytes samples = read_file(raw);
      ASSERT_EQ(samples.size(), 2u * w * h);
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
          const size_t at = 2 * (size_t{y} * w + x);
          const int s = (samples[at] << 8) | samples[at + 1];
          const int centre = 257 * static_cast<int>(level(x, y));
          ASSERT_GE(s, std::max(centre - 255, 0)) << x << "," << y;
          ASSERT_LE(s, std::min(centre + 255, 65535)) << x << "," << y;
        }
    }
}
