// RLE8 files written by ImageMagick, and bitfield files made here, read by the
// viewer's normaliser and by ImageMagick and Pillow: the pixels must agree.
// ImageMagick decodes 5-, 6- and 8-bit fields exactly as the viewer does (its
// 4-bit fields are shifted, not replicated: the known-pixel tests cover
// those); Pillow rounds 5-
// and 6-bit fields its own way and refuses some mask orders, so it is held to
// within 1 where it opens the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "dib_normalise_fixtures.h"
#include "thirdparty_files.h"

using fixtures::Bytes;
using namespace normfix;
namespace fs = std::filesystem;
using namespace thirdparty;

namespace {

fs::path scratch(const std::string& name) { return scratch_file("bmp_thirdparty", name); }

}  // namespace

TEST(BmpThirdParty, ImageMagickRle8FilesOpenWithTheToolsPixels) {
  if (!fs::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  const bool pillow = have_pillow();
  for (const int w : {1, 2, 5, 6, 37}) {
    SCOPED_TRACE("width " + std::to_string(w));
    const int h = 9;
    // 40 colours (so 8 bits), long runs on some rows and noise on others, so
    // that both encoded and absolute runs appear.
    Bytes rgb;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int k = y % 3 == 0 ? (x / 7 + y) % 40 : (x * 13 + y * 7) % 40;
        rgb.insert(rgb.end(), {uint8_t(k * 6), uint8_t(255 - k * 5), uint8_t((k * 37) & 0xFF)});
      }
    const fs::path src = scratch("rle" + std::to_string(w) + ".ppm");
    const fs::path bmp = scratch("rle" + std::to_string(w) + ".bmp");
    write_file(src, ppm_of(w, h, rgb));
    ASSERT_EQ(run(std::string(kConvert) + " " + src.string() + " -type Palette -compress RLE bmp3:" + bmp.string()), 0);

    const Bytes file = read_file(bmp);
    ASSERT_GT(file.size(), 54u);
    ASSERT_EQ(fmt::get_u32le(&file[30]), fmt::bmp::kBiRle8) << "ImageMagick did not write RLE8";
    const Normalised n = normalise_file(file);
    ASSERT_EQ(n.error, fmt::bmp::BmpReadError::None);
    const Bytes ours = rgb_of(n.block);
    EXPECT_EQ(ours, rgb) << "the pixels written";
    // ImageMagick encodes each row's padding as runs past the width. Its own
    // reader (6.9.11) carries those runs into the next row for widths 1 and
    // 2, so for those it misreads its own file; Pillow and the pixels
    // written are the reference there.
    if (w > 2) {
      EXPECT_EQ(ours, imagemagick_decode(bmp, "rgb")) << "ImageMagick's decoding";
    }
    if (pillow) {
      EXPECT_EQ(ours, pillow_decode(bmp, "RGB")) << "Pillow's decoding";
    }
  }
}

TEST(BmpThirdParty, BitfieldFilesAgreeWithImageMagickAndPillow) {
  if (!fs::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  const bool pillow = have_pillow();
  struct Case {
    const char* name;
    uint32_t bits;
    uint32_t masks[3];
  };
  const Case cases[] = {
      {"555", 16, {0x7C00, 0x03E0, 0x001F}},
      {"565", 16, {0xF800, 0x07E0, 0x001F}},
      {"bgrx", 32, {0x00FF0000, 0x0000FF00, 0x000000FF}},
      {"rgbx", 32, {0x000000FF, 0x0000FF00, 0x00FF0000}},
  };
  int pillow_opened = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t w = 7, h = 5;
    std::vector<uint32_t> raw;
    for (int32_t i = 0; i < w * h; ++i) {
      const uint32_t v = static_cast<uint32_t>(i) * 2654435761u ^ static_cast<uint32_t>(i) << 13;
      raw.push_back(c.bits == 16 ? v & 0xFFFF : v);
    }
    const Bytes file = bitfield_file(w, h, c.bits, c.masks, raw);
    const fs::path bmp = scratch(std::string("bf_") + c.name + ".bmp");
    write_file(bmp, file);
    const Normalised n = normalise_file(file);
    ASSERT_EQ(n.error, fmt::bmp::BmpReadError::None);
    const Bytes ours = rgb_of(n.block);
    EXPECT_EQ(ours, imagemagick_decode(bmp, "rgb")) << "ImageMagick's decoding";
    if (!pillow) continue;
    const Bytes theirs = pillow_decode(bmp, "RGB");
    if (theirs.empty()) continue;  // a mask order Pillow does not read
    ++pillow_opened;
    ASSERT_EQ(theirs.size(), ours.size());
    for (size_t i = 0; i < ours.size(); ++i)
      ASSERT_LE(std::abs(ours[i] - theirs[i]), 1) << "Pillow's decoding, byte " << i;
  }
  if (pillow) {
    EXPECT_GE(pillow_opened, 3) << "Pillow reads 5-5-5, 5-6-5 and BGRX";
  }
}

namespace {

// A tool these comparisons need: missing, the test fails under CI (which
// installs it) and is skipped on a developer's machine.
#define REQUIRE_TOOL(present, what)                                        \
  do {                                                                     \
    if (!(present)) {                                                      \
      const char* ci = std::getenv("CI");                                  \
      if (ci && std::string(ci) == "true") FAIL() << what << " is missing"; \
      GTEST_SKIP() << what << " is not installed";                         \
    }                                                                      \
  } while (0)

constexpr const char* kGimp = "/usr/bin/gimp";

// 7 x 5 pixels, every one different.
Bytes picture_ppm() {
  Bytes rgb;
  for (int i = 0; i < 35; ++i) rgb.insert(rgb.end(), {uint8_t(i * 7), uint8_t(255 - i * 5), uint8_t(i * 97 % 256)});
  return ppm_of(7, 5, rgb);
}

}  // namespace

// V5 files as GIMP (batch mode, its default BMP export) and ImageMagick's
// bmp: write them: 24 bits, 32 bits with an alpha channel (dropped by every
// reader compared here), and ImageMagick's 8-bit RLE. The viewer's pixels are
// Pillow's, and ImageMagick's where no alpha is involved.
TEST(BmpThirdParty, V5FilesOfGimpAndImageMagickOpenWithTheToolsPixels) {
  REQUIRE_TOOL(fs::exists(kConvert), "ImageMagick");
  REQUIRE_TOOL(have_pillow(), "Pillow");
  REQUIRE_TOOL(fs::exists(kGimp), "GIMP (Debian package gimp)");
  const fs::path ppm = scratch("v5_in.ppm");
  const Bytes source = picture_ppm();
  write_file(ppm, source);
  auto path = [](const char* name) { return scratch(name).string(); };
  fs::create_directories(scratch("gimp-home"));
  for (const char* f : {"gimp24.bmp", "gimp32.bmp", "im24.bmp", "im32.bmp", "im8.bmp"}) fs::remove(scratch(f));

  // A fresh profile in the scratch folder; pixels of the top-left 3 x 2 made clear.
  const std::string script =
      "(let* ((image (car (file-pnm-load 1 \"" + ppm.string() + "\" \"in\")))"
      " (layer (car (gimp-image-get-active-layer image))))"
      " (file-bmp-save 1 image layer \"" + path("gimp24.bmp") + "\" \"gimp24.bmp\")"
      " (gimp-layer-add-alpha layer) (gimp-image-select-rectangle image 2 0 0 3 2)"
      " (gimp-drawable-edit-clear layer)"
      " (file-bmp-save 1 image layer \"" + path("gimp32.bmp") + "\" \"gimp32.bmp\"))";
  ASSERT_EQ(run("HOME=" + path("gimp-home") + " " + kGimp + " -i -d -f --batch-interpreter=plug-in-script-fu-eval -b '" +
                script + "' -b '(gimp-quit 0)' >/dev/null 2>&1"),
            0);
  const std::string in = ppm.string();
  ASSERT_EQ(run(std::string(kConvert) + " " + in + " bmp:" + path("im24.bmp")), 0);
  ASSERT_EQ(run(std::string(kConvert) + " " + in + " -alpha set -channel A -fx 'i<3?0.5:1' bmp:" + path("im32.bmp")), 0);
  ASSERT_EQ(run(std::string(kConvert) + " " + in + " -type Palette bmp:" + path("im8.bmp")), 0);

  struct Case {
    const char* file;
    uint32_t bits, compression;
    bool alpha;
  } cases[] = {
      {"gimp24.bmp", 24, fmt::bmp::kBiRgb, false},
      {"gimp32.bmp", 32, fmt::bmp::kBiBitfields, true},
      {"im24.bmp", 24, fmt::bmp::kBiRgb, false},
      {"im32.bmp", 32, fmt::bmp::kBiBitfields, true},
      {"im8.bmp", 8, fmt::bmp::kBiRle8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Bytes file = read_file(scratch(c.file));
    ASSERT_GT(file.size(), 14u + 124);
    // What the tools write, so that a change in them shows here.
    EXPECT_EQ(fmt::get_u32le(&file[14]), fmt::bmp::kV5HeaderSize);
    EXPECT_EQ(fmt::get_u16le(&file[28]), c.bits);
    EXPECT_EQ(fmt::get_u32le(&file[30]), c.compression);
    const Normalised n = normalise_file(file);
    ASSERT_EQ(n.error, fmt::bmp::BmpReadError::None);
    const Bytes ours = rgb_of(n.block);
    EXPECT_EQ(ours.size(), 7u * 5 * 3);
    EXPECT_EQ(ours, pillow_decode(scratch(c.file), "RGB")) << "Pillow's decoding";
    if (!c.alpha) {
      EXPECT_EQ(ours, imagemagick_decode(scratch(c.file), "rgb")) << "ImageMagick's decoding";
      EXPECT_EQ(ours, Bytes(source.end() - 7 * 5 * 3, source.end())) << "the pixels written";
    }
  }
}
