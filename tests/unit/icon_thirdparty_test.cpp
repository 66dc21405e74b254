// Icons written by ImageMagick and by Pillow from known pixels: our converted
// bitmap must show what the tool itself decodes from its icon, pixel for
// pixel, and its AND mask must mark exactly the pixels the tool made
// transparent.
//
// What the tools can write as one-image BMP-style icons: ImageMagick 6 picks
// 1, 4 or 8 bits by the number of colours and writes true colour as 32 bits
// (no 24); Pillow writes 1, 8 and 24 bits (no 4) and always an empty mask,
// with AND rows that are only padded right when the width is a multiple of 32.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bmp_icon_fixtures.h"
#include "dib_normalise_fixtures.h"
#include "formats/icon_convert.h"
#include "thirdparty_files.h"

using fixtures::Bytes;
namespace icon = fmt::icon;
namespace fs = std::filesystem;
using namespace thirdparty;

namespace {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Rgba&) const = default;
};
using Pixels = std::vector<Rgba>;  // top row first

std::ostream& operator<<(std::ostream& os, const Rgba& p) {
  return os << "(" << int{p.r} << "," << int{p.g} << "," << int{p.b} << "," << int{p.a} << ")";
}

fs::path scratch(const std::string& name) { return scratch_file("icon_thirdparty", name); }

Pixels from_rgba(const Bytes& raw) {
  Pixels p(raw.size() / 4);
  for (size_t i = 0; i < p.size(); ++i) p[i] = Rgba{raw[4 * i], raw[4 * i + 1], raw[4 * i + 2], raw[4 * i + 3]};
  return p;
}

// Our converted bitmap's pixels, top row first, read through its own table.
Pixels decode_bmp(const Bytes& bmp) {
  const Bytes rgb = normfix::rgb_of(Bytes(bmp.begin() + 14, bmp.end()));
  Pixels out;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) out.push_back(Rgba{rgb[i], rgb[i + 1], rgb[i + 2]});
  return out;
}

// Converts the tool's icon and compares it with the tool's decoding and with
// the pixels it was made from. Masked pixels are then painted with table
// entry 3 (or a colour for 24 bits) and must show exactly that.
void check_against_tool(const Bytes& ico, const Pixels& decoded, const Pixels& source, int expected_bits) {
  icon::IconFigures f;
  ASSERT_EQ(icon::check_icon(ico.data(), ico.size(), ico.size(), &f), icon::IconCheckResult::Ok);
  ASSERT_EQ(f.bits, expected_bits);
  ASSERT_EQ(decoded.size(), source.size());
  Bytes bmp = icon::icon_to_bmp(ico.data(), ico.size(), f);
  const Pixels ours = decode_bmp(bmp);
  ASSERT_EQ(ours.size(), source.size());

  size_t masked = 0;
  for (size_t i = 0; i < source.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(decoded[i].a == 0, source[i].a == 0);
    if (decoded[i].a == 0) {
      ++masked;
      continue;
    }
    EXPECT_EQ(ours[i], decoded[i]);
    EXPECT_EQ(ours[i], source[i]);
  }
  EXPECT_EQ(icon::has_masked_pixels(ico.data(), ico.size(), f), masked > 0);

  const Rgba paint = f.bits == 24 ? Rgba{0x56, 0x34, 0x12} : Rgba{bmp[54 + 14], bmp[54 + 13], bmp[54 + 12]};
  ASSERT_TRUE(icon::paint_masked(bmp, ico.data(), ico.size(), f, 3, 0x123456));
  const Pixels painted = decode_bmp(bmp);
  for (size_t i = 0; i < source.size(); ++i)
    EXPECT_EQ(painted[i], decoded[i].a == 0 ? paint : ours[i]) << i;
}

// Two colours take `one` and `other`; more a ramp of colours; 0 true colour.
Pixels make_pixels(int w, int h, int colours, bool with_holes, Rgba one = {255, 255, 255},
                   Rgba other = {0, 0, 0}) {
  Pixels p;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (with_holes && (x + 2 * y) % 5 == 0) {
        p.push_back(Rgba{0, 0, 0, 0});
        continue;
      }
      if (colours == 2) {
        const bool on = (x * 3 + y * 5) % 7 < 3;
        p.push_back(on ? one : other);
      } else if (colours > 0) {
        const int k = (x * 7 + y * 3) % colours;
        p.push_back(Rgba{static_cast<uint8_t>(40 + 5 * k), static_cast<uint8_t>(250 - 6 * k),
                         static_cast<uint8_t>(k * 37 % 256)});
      } else {
        p.push_back(Rgba{static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 40 + 3),
                         static_cast<uint8_t>((x * y * 13) % 256)});
      }
    }
  return p;
}

Bytes raw_of(const Pixels& p, bool alpha) {
  Bytes b;
  for (const Rgba& q : p) {
    b.insert(b.end(), {q.r, q.g, q.b});
    if (alpha) b.push_back(q.a);
  }
  return b;
}

}  // namespace

TEST(IconThirdParty, ImageMagickIcons) {
  if (!fs::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  const int w = 13, h = 5;  // neither width a multiple of 8
  struct Case {
    int colours;
    bool holes;
    int bits;
  };
  for (const Case c : {Case{2, false, 1}, Case{12, true, 4}, Case{40, true, 8}}) {
    SCOPED_TRACE(c.bits);
    // ImageMagick writes a black-and-white image as 32 bits, so not those two.
    const Pixels src = make_pixels(w, h, c.colours, c.holes, {200, 30, 60}, {20, 220, 120});
    const std::string stem = "im" + std::to_string(c.bits);
    Bytes pam;
    const std::string head = "P7\nWIDTH " + std::to_string(w) + "\nHEIGHT " + std::to_string(h) +
                             (c.holes ? "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
                                       : "\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n");
    pam.assign(head.begin(), head.end());
    fixtures::append(pam, raw_of(src, c.holes));
    write_file(scratch(stem + ".pam"), pam);
    const fs::path ico = scratch(stem + ".ico");
    ASSERT_EQ(run(std::string(kConvert) + " " + scratch(stem + ".pam").string() + " -type " +
                  (c.holes ? "PaletteAlpha" : "Palette") + " ico:" + ico.string()),
              0);
    check_against_tool(read_file(ico), from_rgba(imagemagick_decode(ico, "rgba")), src, c.bits);
  }
}

TEST(IconThirdParty, PillowIcons) {
  if (!have_pillow()) GTEST_SKIP() << "Pillow is not installed";
  const int w = 32, h = 5;
  struct Case {
    const char* mode;
    int colours, bits;
  };
  for (const Case c : {Case{"1", 2, 1}, Case{"P", 40, 8}, Case{"RGB", 0, 24}}) {
    SCOPED_TRACE(c.bits);
    const Pixels src = make_pixels(w, h, c.colours, false);
    const std::string stem = std::string("pil") + std::to_string(c.bits);
    // The exact colours: a full 256-entry palette for P.
    const fs::path ico = scratch(stem + ".ico");
    ASSERT_TRUE(pillow_write(ico, c.mode, w, h, raw_of(src, false)));
    check_against_tool(read_file(ico), from_rgba(pillow_decode(ico, "RGBA")), src, c.bits);
  }
}
