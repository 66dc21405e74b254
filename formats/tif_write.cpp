#include "formats/tif_write.h"

#include <memory>
#include <vector>

namespace fmt::tif {

namespace {

constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;

constexpr uint16_t kImageWidth = 256;
constexpr uint16_t kImageLength = 257;
constexpr uint16_t kBitsPerSample = 258;
constexpr uint16_t kPhotometric = 262;
constexpr uint16_t kStripOffsets = 273;
constexpr uint16_t kSamplesPerPixel = 277;
constexpr uint16_t kRowsPerStrip = 278;
constexpr uint16_t kStripByteCounts = 279;
constexpr uint16_t kPlanarConfiguration = 284;
constexpr uint16_t kColorMap = 320;

struct Entry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t value;  // a SHORT of count 1 is stored in the field's first two bytes
};

// Sizes above 65535 do not fit a SHORT; LONG is what readers accept then.
Entry size_entry(uint16_t tag, uint32_t v) { return {tag, v > 0xFFFF ? kLong : kShort, 1, v}; }

class Encoder {
 public:
  Encoder(BufferedWriter& out, ByteOrder order) : out_(out), big_(order == ByteOrder::Motorola) {}
  void u16(uint32_t v) {
    uint8_t b[2];
    if (big_) put_u16be(b, v); else put_u16le(b, v);
    out_.put(b, 2);
  }
  void u32(uint32_t v) {
    uint8_t b[4];
    if (big_) put_u32be(b, v); else put_u32le(b, v);
    out_.put(b, 4);
  }
  // Header, entry count, the entries (in ascending tag order, as readers
  // require) and a next-IFD offset of 0.
  void header_and_ifd(const Entry* entries, int n) {
    out_.put(big_ ? 'M' : 'I');
    out_.put(big_ ? 'M' : 'I');
    u16(42);
    u32(kIfdOffset);
    u16(static_cast<uint32_t>(n));
    for (int i = 0; i < n; ++i) {
      const Entry& e = entries[i];
      u16(e.tag);
      u16(e.type);
      u32(e.count);
      if (e.type == kShort && e.count == 1) {
        u16(e.value);
        u16(0);
      } else {
        u32(e.value);
      }
    }
    u32(0);
  }
  // Fills with zero bytes up to an absolute offset.
  void pad_to(uint32_t from, uint32_t to) { out_.zeros(to - from); }
  bool big() const { return big_; }

 private:
  BufferedWriter& out_;
  bool big_;
};

constexpr uint32_t ifd_end(int entries) { return kIfdOffset + 2 + 12 * static_cast<uint32_t>(entries) + 4; }

bool is_palette_depth(uint32_t bits) { return bits == 1 || bits == 4 || bits == 8; }

// One DIB row as red, green, blue bytes.
void rgb_row(const DibImage& image, const uint8_t* src, uint8_t* dst) {
  const uint32_t w = image.width;
  switch (image.bit_count) {
    case 16:
      // 5-5-5 fields; five bits widen to eight by repeating their top bits.
      for (uint32_t x = 0; x < w; ++x, src += 2, dst += 3) {
        const uint32_t v = get_u16le(src);
        const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        dst[0] = static_cast<uint8_t>((r << 3) | (r >> 2));
        dst[1] = static_cast<uint8_t>((g << 3) | (g >> 2));
        dst[2] = static_cast<uint8_t>((b << 3) | (b >> 2));
      }
      break;
    case 32:
      for (uint32_t x = 0; x < w; ++x, src += 4, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      break;
    default:
      for (uint32_t x = 0; x < w; ++x, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      break;
  }
}

}  // namespace

uint64_t palette_row_bytes(uint32_t width, uint32_t bits) { return (uint64_t{width} * bits + 7) / 8; }

uint32_t grey_entries(const DibImage& image) {
  uint32_t n = 0;
  for (uint32_t i = 0; i < image.table_entries; ++i) {
    const uint8_t* e = image.table + 4 * i;
    if (e[0] == e[1] && e[1] == e[2]) ++n;
  }
  return n;
}

Layout choose_layout(const DibImage& image, bool as16Bit) {
  if (as16Bit && image.bit_count == 8 && grey_entries(image) == 256) return Layout::Grey16;
  return is_palette_depth(image.bit_count) ? Layout::Palette : Layout::Rgb;
}

uint64_t file_size(const DibImage& image, Layout layout) {
  const uint64_t pixels = uint64_t{image.width} * image.height;
  switch (layout) {
    case Layout::Palette:
      return kColorMapOffset + 6 * (uint64_t{1} << image.bit_count) +
             palette_row_bytes(image.width, image.bit_count) * image.height;
    case Layout::Rgb: return kRgbDataOffset + 3 * pixels;
    case Layout::Grey16: return kGrey16DataOffset + 2 * pixels;
  }
  return 0;
}

bool write_palette_rgb(const DibImage& image, ByteOrder order, BufferedWriter& out) {
  const bool palette = is_palette_depth(image.bit_count);
  const Layout layout = palette ? Layout::Palette : Layout::Rgb;
  const uint64_t size = file_size(image, layout);
  if (size > kMaxFileSize || image.width == 0 || image.height == 0) return false;
  Encoder enc(out, order);
  const uint32_t w = image.width, h = image.height;
  const uint32_t entries = palette ? uint32_t{1} << image.bit_count : 0;
  const uint32_t data_offset = palette ? kColorMapOffset + 6 * entries : kRgbDataOffset;
  const auto strip_bytes = static_cast<uint32_t>(size - data_offset);
  const Entry ifd[9] = {
      size_entry(kImageWidth, w),
      size_entry(kImageLength, h),
      palette ? Entry{kBitsPerSample, kShort, 1, image.bit_count} : Entry{kBitsPerSample, kShort, 3, kRgbBitsOffset},
      {kPhotometric, kShort, 1, palette ? 3u : 2u},  // palette colour, RGB
      {kStripOffsets, kLong, 1, data_offset},
      {kSamplesPerPixel, kShort, 1, palette ? 1u : 3u},
      size_entry(kRowsPerStrip, h),  // one strip
      {kStripByteCounts, kLong, 1, strip_bytes},
      palette ? Entry{kColorMap, kShort, 3 * entries, kColorMapOffset} : Entry{kPlanarConfiguration, kShort, 1, 1},
  };
  enc.header_and_ifd(ifd, 9);
  if (palette) {
    enc.pad_to(ifd_end(9), kColorMapOffset);
    // Red values, then green, then blue; c * 257 is the byte c twice in
    // either order. Entries the block does not hold are black.
    for (int component = 2; component >= 0; --component)
      for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t c = i < image.table_entries ? image.table[4 * i + component] : 0;
        out.put(c);
        out.put(c);
      }
    const auto row_bytes = static_cast<size_t>(palette_row_bytes(w, image.bit_count));
    for (uint32_t y = h; y-- > 0;) out.put(image.row(y), row_bytes);
  } else {
    enc.pad_to(ifd_end(9), kRgbBitsOffset);
    enc.u16(8);
    enc.u16(8);
    enc.u16(8);
    out.zeros(2);
    std::vector<uint8_t> row(3 * size_t{w});
    for (uint32_t y = h; y-- > 0;) {
      rgb_row(image, image.row(y), row.data());
      out.put(row.data(), row.size());
    }
  }
  return out.flush();
}

bool write_grey16(const DibImage& image, ByteOrder order, uint32_t seed, BufferedWriter& out) {
  const uint64_t size = file_size(image, Layout::Grey16);
  if (size > kMaxFileSize || image.width == 0 || image.height == 0 || image.bit_count != 8) return false;
  Encoder enc(out, order);
  const uint32_t w = image.width, h = image.height;
  const bool motorola = order == ByteOrder::Motorola;
  const Entry ifd[8] = {
      size_entry(kImageWidth, w),
      size_entry(kImageLength, h),
      {kBitsPerSample, kShort, 1, 16},
      {kPhotometric, kShort, 1, motorola ? 0u : 1u},  // white is zero, black is zero
      {kStripOffsets, kLong, 1, kGrey16DataOffset},
      {kSamplesPerPixel, kShort, 1, 1},
      size_entry(kRowsPerStrip, h),
      {kStripByteCounts, kLong, 1, static_cast<uint32_t>(size - kGrey16DataOffset)},
  };
  enc.header_and_ifd(ifd, 8);
  enc.pad_to(ifd_end(8), kGrey16DataOffset);

  // The grey level of each palette index: the blue of its entry.
  uint8_t level[256] = {};
  for (uint32_t i = 0; i < 256 && i < image.table_entries; ++i) level[i] = image.table[4 * i];
  auto dither = std::make_unique<Dither>(seed);
  std::vector<uint8_t> row(2 * size_t{w});
  // The serial dither chain is the cost: one loop per byte order keeps the
  // order test out of it.
  auto fill_row = [&](const uint8_t* src, auto put) {
    uint8_t* dst = row.data();
    for (uint32_t x = 0; x < w; ++x, dst += 2) put(dst, grey16_sample(level[src[x]], dither->next_raw(), order));
  };
  for (uint32_t y = h; y-- > 0;) {
    if (motorola)
      fill_row(image.row(y), [](uint8_t* d, uint32_t v) { put_u16be(d, v); });
    else
      fill_row(image.row(y), [](uint8_t* d, uint32_t v) { put_u16le(d, v); });
    out.put(row.data(), row.size());
  }
  return out.flush();
}

uint32_t dither_seed(unsigned milliseconds, unsigned seconds) {
  const unsigned h = milliseconds / 10;
  const double s = (h * 100 + (h * 0.01 + seconds) * 1.6666666666666667) * 6.5536;
  return static_cast<uint32_t>(s);
}

Dither::Dither(uint32_t seed) : seed_(seed) { fill(); }

void Dither::fill() {
  state_ = seed_;
  for (uint16_t& t : table_) t = static_cast<uint16_t>(step());
  position_ = 0;
}

}  // namespace fmt::tif
