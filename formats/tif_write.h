// Uncompressed baseline TIFF files of the current image, in Intel or
// Motorola byte order: palette images (1, 4, 8 bits), RGB (from 16-, 24- and
// 32-bit images) and grey 256-colour images widened to dithered 16-bit
// samples. One strip, rows from the top of the picture down.
#pragma once
#include <cstdint>

#include "formats/byte_sink.h"
#include "formats/dib_image.h"

namespace fmt::tif {

enum class ByteOrder { Intel = 0, Motorola = 1 };
enum class Layout { Palette, Rgb, Grey16 };

// Fixed places in the files.
constexpr uint32_t kIfdOffset = 8;
constexpr uint32_t kColorMapOffset = 156;       // palette files
constexpr uint32_t kRgbBitsOffset = 152;        // RGB files: 8, 8, 8
constexpr uint32_t kRgbDataOffset = 160;
constexpr uint32_t kGrey16DataOffset = 156;
// A strip offset or byte count must fit the 32-bit fields.
constexpr uint64_t kMaxFileSize = 0xFFFFFFFFu;

// Colour-table entries with blue = green = red, over the entries the block holds.
uint32_t grey_entries(const DibImage& image);
// The 16-bit writer serves a grey 256-colour image when the option is on;
// the palette/RGB writer everything else.
Layout choose_layout(const DibImage& image, bool as16Bit);
// The exact size of the file the layout gives (64 bits: it may exceed kMaxFileSize).
uint64_t file_size(const DibImage& image, Layout layout);
// Bytes of one palette row: ceil(width * bits / 8).
uint64_t palette_row_bytes(uint32_t width, uint32_t bits);

// Both return false without writing when the file would exceed kMaxFileSize,
// and false when the sink failed; they flush the writer at the end.
bool write_palette_rgb(const DibImage& image, ByteOrder order, BufferedWriter& out);
bool write_grey16(const DibImage& image, ByteOrder order, uint32_t seed, BufferedWriter& out);

// One 16-bit sample: the grey level widened to level * 257 (Motorola, white
// is zero: (255 - level) * 255/255 * 65535) plus a dither of
// (u - 0.5) * 510 with u = (raw + 0.5) / 32768, truncated and clamped to
// 0 ... 65535. Every term is a multiple of 1/32768, so the sum is computed
// exactly in integers scaled by 32768; the floating-point form gives the same
// samples (a unit test checks every level and draw).
inline uint32_t grey16_sample(uint32_t level, uint32_t raw, ByteOrder order) {
  const uint32_t base = order == ByteOrder::Motorola ? 255 - level : level;
  const int64_t scaled = int64_t{base} * 257 * 32768 + (2 * int64_t{raw} - 32767) * 255;
  if (scaled >= int64_t{65535} * 32768) return 65535;
  return scaled > 0 ? static_cast<uint32_t>(scaled >> 15) : 0;
}

// The dither's seed from the clock's milliseconds and seconds.
uint32_t dither_seed(unsigned milliseconds, unsigned seconds);

// Values strictly between 0 and 1 from a table of 32768 outputs of the
// generator state * 22695477 + 1, each draw reseeding from the table.
class Dither {
 public:
  explicit Dither(uint32_t seed);
  // The next raw output, 0 ... 32767.
  uint32_t next_raw() {
    state_ = table_[table_[position_]];
    const uint32_t a = step();
    table_[position_] = static_cast<uint16_t>(a);
    if (++position_ > 32767) {
      seed_ = seed_ >= 65535 ? 1 : seed_ + 1;
      fill();
    }
    return a;
  }
  double next() { return (next_raw() + 0.5) * 0.000030517578125; }

 private:
  uint32_t step() {
    state_ = state_ * 22695477u + 1u;
    return (state_ >> 16) & 0x7FFF;
  }
  void fill();
  uint16_t table_[32768];
  uint32_t position_ = 0;
  uint32_t seed_;
  uint32_t state_ = 0;
};

}  // namespace fmt::tif
