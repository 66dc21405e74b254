// The TIF writers byte for byte: header, the sorted IFD of each layout and
// byte order, the colour map, pixel rows, the 16-bit dither, and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "dib_fixture.h"
#include "formats/tif_write.h"

namespace tif = fmt::tif;
using fixtures::Bytes;
using fixtures::make_dib;
using fixtures::write_tif;

namespace {

uint32_t u16(const Bytes& f, size_t at, bool big) {
  return big ? (uint32_t{f[at]} << 8) | f[at + 1] : fmt::get_u16le(&f[at]);
}
uint32_t u32(const Bytes& f, size_t at, bool big) {
  return big ? (u16(f, at, true) << 16) | u16(f, at + 2, true) : fmt::get_u32le(&f[at]);
}

struct Entry {
  uint32_t tag, type, count, value;
  bool operator==(const Entry&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Entry& e) {
  return os << "{" << e.tag << "," << e.type << "," << e.count << "," << e.value << "}";
}

// The IFD as a reader sees it; a SHORT of count 1 is read from the first
// half of its field and the second half must be zero.
std::vector<Entry> read_ifd(const Bytes& f) {
  const bool big = f[0] == 'M';
  std::vector<Entry> entries;
  const uint32_t n = u16(f, 8, big);
  for (uint32_t i = 0; i < n; ++i) {
    const size_t at = 10 + 12 * i;
    Entry e{u16(f, at, big), u16(f, at + 2, big), u32(f, at + 4, big), 0};
    if (e.type == 3 && e.count == 1) {
      e.value = u16(f, at + 8, big);
      EXPECT_EQ(u16(f, at + 10, big), 0u) << "tag " << e.tag;
    } else {
      e.value = u32(f, at + 8, big);
    }
    entries.push_back(e);
  }
  EXPECT_EQ(u32(f, 10 + 12 * n, big), 0u) << "next IFD";
  return entries;
}

uint32_t index_pattern(uint32_t x, uint32_t y) { return 3 * x + 7 * y; }

}  // namespace

// Every layout against hand-worked figures: file size, data offset and the
// nine or eight entries in ascending tag order, in both byte orders.
TEST(TifWriter, HeaderAndSortedDirectoryOfEachLayout) {
  struct Case {
    const char* name;
    uint32_t w, h;
    int bits;
    uint32_t table;
    bool as16;
    size_t file_size;
    std::vector<Entry> ifd;
  };
  const std::vector<Case> cases = {
      {"2 colours 10x3", 10, 3, 1, 2, false, 174,
       {{256, 3, 1, 10}, {257, 3, 1, 3}, {258, 3, 1, 1}, {262, 3, 1, 3}, {273, 4, 1, 168},
        {277, 3, 1, 1}, {278, 3, 1, 3}, {279, 4, 1, 6}, {320, 3, 6, 156}}},
      {"16 colours 5x2", 5, 2, 4, 16, false, 258,
       {{256, 3, 1, 5}, {257, 3, 1, 2}, {258, 3, 1, 4}, {262, 3, 1, 3}, {273, 4, 1, 252},
        {277, 3, 1, 1}, {278, 3, 1, 2}, {279, 4, 1, 6}, {320, 3, 48, 156}}},
      {"256 colours 300x2", 300, 2, 8, 256, false, 1692 + 600,
       {{256, 3, 1, 300}, {257, 3, 1, 2}, {258, 3, 1, 8}, {262, 3, 1, 3}, {273, 4, 1, 1692},
        {277, 3, 1, 1}, {278, 3, 1, 2}, {279, 4, 1, 600}, {320, 3, 768, 156}}},
      {"16 of 256 entries, 8 bits", 3, 1, 8, 16, false, 1695,
       {{256, 3, 1, 3}, {257, 3, 1, 1}, {258, 3, 1, 8}, {262, 3, 1, 3}, {273, 4, 1, 1692},
        {277, 3, 1, 1}, {278, 3, 1, 1}, {279, 4, 1, 3}, {320, 3, 768, 156}}},
      {"24 bits 2x2", 2, 2, 24, 0, false, 172,
       {{256, 3, 1, 2}, {257, 3, 1, 2}, {258, 3, 3, 152}, {262, 3, 1, 2}, {273, 4, 1, 160},
        {277, 3, 1, 3}, {278, 3, 1, 2}, {279, 4, 1, 12}, {284, 3, 1, 1}}},
      {"16 bits as RGB 5x1", 5, 1, 16, 0, false, 175,
       {{256, 3, 1, 5}, {257, 3, 1, 1}, {258, 3, 3, 152}, {262, 3, 1, 2}, {273, 4, 1, 160},
        {277, 3, 1, 3}, {278, 3, 1, 1}, {279, 4, 1, 15}, {284, 3, 1, 1}}},
      {"32 bits as RGB 1x3", 1, 3, 32, 0, false, 169,
       {{256, 3, 1, 1}, {257, 3, 1, 3}, {258, 3, 3, 152}, {262, 3, 1, 2}, {273, 4, 1, 160},
        {277, 3, 1, 3}, {278, 3, 1, 3}, {279, 4, 1, 9}, {284, 3, 1, 1}}},
      {"wider than a SHORT", 70000, 1, 8, 256, false, 1692 + 70000,
       {{256, 4, 1, 70000}, {257, 3, 1, 1}, {258, 3, 1, 8}, {262, 3, 1, 3}, {273, 4, 1, 1692},
        {277, 3, 1, 1}, {278, 3, 1, 1}, {279, 4, 1, 70000}, {320, 3, 768, 156}}},
      {"16-bit grey 4x3", 4, 3, 8, 256, true, 156 + 24,
       {{256, 3, 1, 4}, {257, 3, 1, 3}, {258, 3, 1, 16}, {262, 3, 1, 1}, {273, 4, 1, 156},
        {277, 3, 1, 1}, {278, 3, 1, 3}, {279, 4, 1, 24}}},
  };
  for (const Case& c : cases) {
    for (const auto order : {tif::ByteOrder::Intel, tif::ByteOrder::Motorola}) {
      const bool big = order == tif::ByteOrder::Motorola;
      SCOPED_TRACE(std::string(c.name) + (big ? " Motorola" : " Intel"));
      const auto table = c.as16 ? fixtures::grey_table(256) : std::vector<uint32_t>(c.table, 0x123456);
      const auto d = make_dib(c.w, c.h, c.bits, table, [&](uint32_t x, uint32_t y) {
        return index_pattern(x, y) % (c.table ? c.table : 0x1000000);
      });
      const Bytes f = write_tif(d.image, order, c.as16);
      ASSERT_EQ(f.size(), c.file_size);
      EXPECT_EQ(f.size(), tif::file_size(d.image, tif::choose_layout(d.image, c.as16)));
      const Bytes head = big ? Bytes{'M', 'M', 0, 42, 0, 0, 0, 8} : Bytes{'I', 'I', 42, 0, 8, 0, 0, 0};
      EXPECT_EQ(Bytes(f.begin(), f.begin() + 8), head);
      std::vector<Entry> want = c.ifd;
      // Motorola grey files store white as zero.
      if (c.as16 && big) want[3].value = 0;
      EXPECT_EQ(read_ifd(f), want);
      // Zero bytes between the directory and the first data.
      const size_t ifd_end = 8 + 2 + 12 * want.size() + 4;
      const size_t first_data = c.bits == 24 || c.bits > 8 ? 152 : 156;
      for (size_t i = ifd_end; i < first_data; ++i) ASSERT_EQ(f[i], 0) << "offset " << i;
    }
  }
}

// Colour maps and pixel rows: top row first, rows unpadded, components as
// red, green, blue; 5-bit fields widened by repeating their top bits.
TEST(TifWriter, ColourMapAndPixelData) {
  const std::vector<uint32_t> table = {0x102030, 0xA0B0C0, 0xFF0001};
  const auto check_map = [&](const Bytes& f, uint32_t entries) {
    for (uint32_t i = 0; i < entries; ++i)
      for (int comp = 0; comp < 3; ++comp) {
        const auto c = static_cast<uint8_t>(i < table.size() ? table[i] >> (16 - 8 * comp) : 0);
        const size_t at = 156 + 2 * (comp * entries + i);
        ASSERT_EQ(f[at], c) << "entry " << i << " component " << comp;
        ASSERT_EQ(f[at + 1], c);
      }
  };
  for (const auto order : {tif::ByteOrder::Intel, tif::ByteOrder::Motorola}) {
    // 1 bit, 10 x 3: rows of 2 bytes, high bit first.
    auto d1 = make_dib(10, 3, 1, {0x000000, 0xFFFFFF}, [](uint32_t x, uint32_t y) { return (x + y) % 3 == 0 ? 1u : 0u; });
    Bytes f = write_tif(d1.image, order);
    EXPECT_EQ(Bytes(f.begin() + 168, f.end()), (Bytes{0x92, 0x40, 0x24, 0x80, 0x49, 0x00}));
    // 4 bits, 5 x 2 with a 3-entry table: rows of 3 bytes, map padded with black.
    auto d4 = make_dib(5, 2, 4, table, [](uint32_t x, uint32_t y) { return (x + 2 * y) % 3; });
    f = write_tif(d4.image, order);
    check_map(f, 16);
    EXPECT_EQ(Bytes(f.begin() + 252, f.end()), (Bytes{0x01, 0x20, 0x10, 0x20, 0x12, 0x00}));
    // 8 bits with a short table.
    auto d8 = make_dib(3, 2, 8, table, [](uint32_t x, uint32_t y) { return (x + y) % 3; });
    f = write_tif(d8.image, order);
    check_map(f, 256);
    EXPECT_EQ(Bytes(f.begin() + 1692, f.end()), (Bytes{0, 1, 2, 1, 2, 0}));
    // RGB from 24, 32 and 16 bits, 2 x 2.
    auto colour = [](uint32_t x, uint32_t y) { return x + 2 * y == 0 ? 0x112233u : 0xF0E0D0u + x + y; };
    auto d24 = make_dib(2, 2, 24, {}, colour);
    auto d32 = make_dib(2, 2, 32, {}, colour);
    const Bytes want = {0x11, 0x22, 0x33, 0xF0, 0xE0, 0xD1, 0xF0, 0xE0, 0xD1, 0xF0, 0xE0, 0xD2};
    f = write_tif(d24.image, order);
    EXPECT_EQ(Bytes(f.begin() + 160, f.end()), want);
    EXPECT_EQ(Bytes(f.begin() + 152, f.begin() + 158), order == tif::ByteOrder::Intel ? (Bytes{8, 0, 8, 0, 8, 0})
                                                                                      : (Bytes{0, 8, 0, 8, 0, 8}));
    f = write_tif(d32.image, order);
    EXPECT_EQ(Bytes(f.begin() + 160, f.end()), want);
    // 5-5-5: red 31, green 1, blue 16 -> 255, 8, 132; white and black stay.
    auto d16 = make_dib(3, 1, 16, {}, [](uint32_t x, uint32_t) {
      return x == 0 ? (31u << 10) | (1u << 5) | 16u : x == 1 ? 0x7FFFu : 0u;
    });
    f = write_tif(d16.image, order);
    EXPECT_EQ(Bytes(f.begin() + 160, f.end()), (Bytes{255, 8, 132, 255, 255, 255, 0, 0, 0}));
  }
}

// Which writer serves an image: the 16-bit one only for 256 grey entries
// with the option on.
TEST(TifWriter, ChoiceOfLayout) {
  auto grey_but_one = fixtures::grey_table(256);
  grey_but_one[7] = 0x070708;
  struct Case {
    int bits;
    std::vector<uint32_t> table;
    bool as16;
    tif::Layout want;
  } cases[] = {
      {8, fixtures::grey_table(256), true, tif::Layout::Grey16},
      {8, fixtures::grey_table(256), false, tif::Layout::Palette},
      {8, grey_but_one, true, tif::Layout::Palette},
      {8, fixtures::grey_table(16), true, tif::Layout::Palette},
      {4, fixtures::grey_table(16), true, tif::Layout::Palette},
      {1, fixtures::grey_table(2), true, tif::Layout::Palette},
      {24, {}, true, tif::Layout::Rgb},
      {16, {}, false, tif::Layout::Rgb},
      {32, {}, true, tif::Layout::Rgb},
  };
  for (const Case& c : cases) {
    auto d = make_dib(2, 2, c.bits, c.table, [](uint32_t, uint32_t) { return 0u; });
    EXPECT_EQ(tif::choose_layout(d.image, c.as16), c.want) << c.bits << " bits, " << c.table.size() << " entries";
  }
  EXPECT_EQ(tif::grey_entries(make_dib(1, 1, 8, grey_but_one, [](uint32_t, uint32_t) { return 0u; }).image), 255u);
}

TEST(TifDither, SeedFromClock) {
  struct Case {
    unsigned ms, sec;
    uint32_t seed;
  } cases[] = {{0, 0, 0}, {9, 0, 0}, {10, 0, 655}, {0, 1, 10}, {500, 30, 33101}, {999, 59, 65535}};
  for (const Case& c : cases) EXPECT_EQ(tif::dither_seed(c.ms, c.sec), c.seed) << c.ms << " ms " << c.sec << " s";
}

// The table of 32768 outputs is refilled from the next seed (65535 wraps to
// 1) after 32768 draws: the draws then go on exactly as from a fresh start
// with that seed. Values stay strictly inside (0, 1).
TEST(TifDither, RefillFromNextSeed) {
  for (const uint32_t seed : {0u, 4711u, 65534u, 65535u}) {
    auto a = std::make_unique<tif::Dither>(seed);
    auto b = std::make_unique<tif::Dither>(seed >= 65535 ? 1 : seed + 1);
    auto again = std::make_unique<tif::Dither>(seed);
    bool differs_from_next = false;
    for (int i = 0; i < 32768; ++i) {
      const uint32_t v = a->next_raw();
      ASSERT_LE(v, 32767u);
      ASSERT_EQ(again->next_raw(), v);
      if (i < 1000 && v != b->next_raw()) differs_from_next = true;
    }
    EXPECT_TRUE(differs_from_next) << seed;
    b = std::make_unique<tif::Dither>(seed >= 65535 ? 1 : seed + 1);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(a->next_raw(), b->next_raw()) << "seed " << seed << " draw " << i;
    const double u = a->next();
    EXPECT_GT(u, 0.0);
    EXPECT_LT(u, 1.0);
  }
  // Worked by hand for seed 0: T[0] is the output after state 0, that is 0,
  // so the first draw reseeds with T[T[0]] = 0 and gives 0 again; the second
  // reseeds with T[T[1]].
  auto zero = std::make_unique<tif::Dither>(0);
  EXPECT_EQ(zero->next_raw(), 0u);
}

// Samples of grey levels 0, 128 and 255 lie within one 8-bit step of
// 257 x level (Motorola: of 257 x (255 - level)), and the dither uses the
// whole step rather than a few values.
TEST(TifDither, SampleRangesOfEachLevel) {
  struct Case {
    tif::ByteOrder order;
    uint8_t level;
    uint32_t lo, hi;
  } cases[] = {
      {tif::ByteOrder::Intel, 0, 0, 254},          {tif::ByteOrder::Intel, 128, 32641, 33150},
      {tif::ByteOrder::Intel, 255, 65280, 65535},  {tif::ByteOrder::Motorola, 0, 65280, 65535},
      {tif::ByteOrder::Motorola, 128, 32384, 32893}, {tif::ByteOrder::Motorola, 255, 0, 254},
  };
  const uint32_t w = 301, h = 200;
  for (const Case& c : cases) {
    const bool big = c.order == tif::ByteOrder::Motorola;
    auto d = make_dib(w, h, 8, fixtures::grey_table(256), [&](uint32_t, uint32_t) { return uint32_t{c.level}; });
    const Bytes f = write_tif(d.image, c.order, true, 777);
    ASSERT_EQ(f.size(), 156 + 2 * w * h);
    uint32_t lo = 65535, hi = 0;
    for (size_t i = 156; i < f.size(); i += 2) {
      const uint32_t s = u16(f, i, big);
      lo = std::min(lo, s);
      hi = std::max(hi, s);
    }
    SCOPED_TRACE(std::to_string(c.level) + (big ? " Motorola" : " Intel"));
    EXPECT_GE(lo, c.lo);
    EXPECT_LE(hi, c.hi);
    EXPECT_LE(lo, c.lo + 20);  // 60200 draws reach both ends of the step
    EXPECT_GE(hi + 20, c.hi);
  }
}

// A fixed seed gives the same file; another seed changes the low bits only.
TEST(TifDither, SeedDecidesTheSamples) {
  auto d = make_dib(64, 64, 8, fixtures::grey_table(256), [](uint32_t x, uint32_t y) { return (x * 4 + y) % 256; });
  const Bytes a = write_tif(d.image, tif::ByteOrder::Intel, true, 100);
  EXPECT_EQ(write_tif(d.image, tif::ByteOrder::Intel, true, 100), a);
  const Bytes b = write_tif(d.image, tif::ByteOrder::Intel, true, 101);
  EXPECT_NE(a, b);
  for (size_t i = 156; i < a.size(); i += 2) {
    const int sa = static_cast<int>(fmt::get_u16le(&a[i])), sb = static_cast<int>(fmt::get_u16le(&b[i]));
    ASSERT_LE(std::abs(sa - sb), 510);
  }
}

// A sink that fails after n bytes: every writer reports it, wherever it
// happens; a file over 4 GiB is refused before anything is written.
TEST(TifWriter, FailingSinkAndOversizedImage) {
  struct Limited {
    size_t left;
    static bool write(void* c, const uint8_t*, size_t n) {
      auto* self = static_cast<Limited*>(c);
      if (n > self->left) return false;
      self->left -= n;
      return true;
    }
  };
  auto pal = make_dib(33, 20, 8, fixtures::grey_table(256), index_pattern);
  auto rgb = make_dib(33, 20, 24, {}, index_pattern);
  for (const fmt::DibImage* image : {&pal.image, &rgb.image}) {
    for (const bool as16 : {false, true}) {
      const uint64_t size = tif::file_size(*image, tif::choose_layout(*image, as16));
      for (const size_t n : {size_t{0}, size_t{7}, size_t{156}, size_t{1000}, size_t(size - 1), size_t(size)}) {
        Limited lim{n};
        fmt::BufferedWriter w(fmt::Sink{&Limited::write, &lim}, 100);
        const bool ok = tif::choose_layout(*image, as16) == tif::Layout::Grey16
                            ? tif::write_grey16(*image, tif::ByteOrder::Motorola, 5, w)
                            : tif::write_palette_rgb(*image, tif::ByteOrder::Intel, w);
        EXPECT_EQ(ok, n >= size) << image->bit_count << " bits, limit " << n;
      }
    }
  }
  fmt::DibImage huge = pal.image;
  huge.width = 70000;
  huge.height = 65536;  // 4.6 GB of 8-bit rows, never read
  EXPECT_GT(tif::file_size(huge, tif::Layout::Palette), tif::kMaxFileSize);
  Bytes out;
  fmt::BufferedWriter w(fmt::vector_sink(&out));
  EXPECT_FALSE(tif::write_palette_rgb(huge, tif::ByteOrder::Intel, w));
  EXPECT_FALSE(tif::write_grey16(huge, tif::ByteOrder::Intel, 1, w));
  w.flush();
  EXPECT_TRUE(out.empty());
}

// The integer sample equals the floating-point rule for every grey level
// and every raw draw, in both byte orders.
TEST(TifDither, IntegerSampleMatchesTheFloatingPointRule) {
  int mismatches = 0;
  for (uint32_t g = 0; g < 256; ++g)
    for (uint32_t raw = 0; raw < 32768; ++raw) {
      const double u = (raw + 0.5) * 0.000030517578125;
      for (const auto order : {tif::ByteOrder::Intel, tif::ByteOrder::Motorola}) {
        const double v = order == tif::ByteOrder::Intel
                             ? g * 257 + (u - 0.5) * 510
                             : (255 - g) * 0.00392156862745098 * 65535 + (u - 0.5) * 510;
        const uint32_t want = v >= 65535 ? 65535 : v > 0 ? static_cast<uint32_t>(v) : 0;
        if (tif::grey16_sample(g, raw, order) != want && ++mismatches < 5)
          ADD_FAILURE() << "level " << g << " raw " << raw << (order == tif::ByteOrder::Intel ? " Intel" : " Motorola");
      }
    }
  EXPECT_EQ(mismatches, 0);
}

// Rows are found from the block's own layout: a table before 24-bit rows, a
// gap before the rows named by the file's pixel offset, a wrong image-size
// field and trailing bytes neither move nor overrun them.
TEST(TifWriter, RowsComeFromTheBlockLayout) {
  auto colour = [](uint32_t x, uint32_t y) { return 0x102030u * (x + 1) + y; };
  const auto plain = make_dib(3, 2, 24, {}, colour);
  const Bytes want(write_tif(plain.image, tif::ByteOrder::Intel));
  struct Case {
    const char* name;
    Bytes block;
    uint32_t pixel_offset;
  };
  Bytes with_table = make_dib(3, 2, 24, {0xABCDEF, 0x123456}, colour).block;
  Bytes gap = plain.block;
  gap.insert(gap.begin() + 40, 20, 0x77);
  Bytes wrong_size = plain.block;
  fmt::put_u32le(&wrong_size[20], 4);
  Bytes trailing = plain.block;
  trailing.insert(trailing.end(), 33, 0x55);
  const Case cases[] = {
      {"table before 24-bit rows", with_table, 0},
      {"gap before the rows", gap, 14 + 40 + 20},
      {"image size field 4", wrong_size, 0},
      {"trailing bytes", trailing, 0},
  };
  for (const Case& c : cases) {
    fmt::DibImage image;
    ASSERT_TRUE(fmt::dib_image_of(c.block.data(), c.block.size(), c.pixel_offset, &image)) << c.name;
    EXPECT_EQ(write_tif(image, tif::ByteOrder::Intel), want) << c.name;
  }
  // Rows that would run past the block are refused, not read.
  fmt::DibImage image;
  EXPECT_FALSE(fmt::dib_image_of(gap.data(), gap.size(), 14 + 40 + 21, &image));
  EXPECT_FALSE(fmt::dib_image_of(plain.block.data(), plain.block.size() - 1, 0, &image));
}
