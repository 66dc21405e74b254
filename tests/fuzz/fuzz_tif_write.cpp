// The TIF writers on any image the viewer can hold: the first byte chooses
// the byte order and the 16-bit option, the rest is a CF_DIB brought into
// shape as paste does. The file must have exactly the size the save command
// reserves, and a small reader of this harness must find in it the picture
// of the block: sorted tags, one strip inside the file, every pixel.
#include <cstdlib>
#include <vector>

#include "formats/bytes.h"
#include "formats/paste_dib.h"
#include "formats/tif_write.h"

namespace {

using fmt::tif::ByteOrder;
using fmt::tif::Layout;

struct Tiff {
  const std::vector<uint8_t>& f;
  bool big;
  uint32_t u16(size_t at) const {
    if (at + 2 > f.size()) std::abort();
    return big ? (uint32_t{f[at]} << 8 | f[at + 1]) : fmt::get_u16le(&f[at]);
  }
  uint32_t u32(size_t at) const {
    if (at + 4 > f.size()) std::abort();
    return big ? (u16(at) << 16 | u16(at + 2)) : fmt::get_u32le(&f[at]);
  }
};

struct Fields {
  uint32_t width = 0, length = 0, bits = 0, photometric = 99, strip = 0, count = 0, samples = 1;
};

Fields read_ifd(const Tiff& t) {
  if (t.f.size() < 8 || t.f[0] != t.f[1] || (t.f[0] != 'I' && t.f[0] != 'M') || t.u16(2) != 42) std::abort();
  const uint32_t ifd = t.u32(4);
  const uint32_t n = t.u16(ifd);
  Fields r;
  uint32_t last = 0;
  for (uint32_t i = 0; i < n; ++i) {
    const size_t e = ifd + 2 + 12 * size_t{i};
    const uint32_t tag = t.u16(e), type = t.u16(e + 2), count = t.u32(e + 4);
    if (tag <= last) std::abort();  // tags ascend
    last = tag;
    const uint32_t v = type == 3 && count == 1 ? t.u16(e + 8) : t.u32(e + 8);
    switch (tag) {
      case 256: r.width = v; break;
      case 257: r.length = v; break;
      case 258: r.bits = count == 1 ? v : t.u16(v); break;
      case 262: r.photometric = v; break;
      case 273: r.strip = v; break;
      case 277: r.samples = v; break;
      case 279: r.count = v; break;
      default: break;
    }
  }
  return r;
}

// The colour of a block pixel as the RGB writer widens it.
void expected_rgb(const fmt::DibImage& im, uint32_t x, uint32_t y_bottom_up, uint8_t rgb[3]) {
  const uint8_t* p = im.row(y_bottom_up);
  if (im.bit_count == 16) {
    const uint32_t v = fmt::get_u16le(p + 2 * x);
    const uint32_t c[3] = {(v >> 10) & 31, (v >> 5) & 31, v & 31};
    for (int i = 0; i < 3; ++i) rgb[i] = static_cast<uint8_t>((c[i] << 3) | (c[i] >> 2));
    return;
  }
  const uint32_t step = im.bit_count / 8;
  rgb[0] = p[step * x + 2];
  rgb[1] = p[step * x + 1];
  rgb[2] = p[step * x];
}

uint32_t index_at(const fmt::DibImage& im, uint32_t x, uint32_t y_bottom_up) {
  const uint8_t* p = im.row(y_bottom_up);
  const uint32_t bit = x * im.bit_count;
  return (p[bit / 8] >> (8 - im.bit_count - bit % 8)) & ((1u << im.bit_count) - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const ByteOrder order = (data[0] & 1) ? ByteOrder::Motorola : ByteOrder::Intel;
  const bool as16 = (data[0] & 2) != 0;
  const std::vector<uint8_t> dib(data + 1, data + size);
  const fmt::bmp::NormalisePlan plan = fmt::bmp::plan_paste(dib.data(), dib.size());
  if (plan.error != fmt::bmp::BmpReadError::None || plan.out_size > (uint64_t{1} << 18)) return 0;
  std::vector<uint8_t> block(static_cast<size_t>(plan.out_size));
  if (fmt::bmp::normalise_into(dib.data(), dib.size(), fmt::bmp::FileHeader{}, plan, block.data(), block.size()) !=
      fmt::bmp::BmpReadError::None)
    return 0;
  const uint32_t pixel_offset = plan.convert ? fmt::bmp::normalised_file_header(plan).pixel_offset : 0;
  fmt::DibImage im;
  if (!fmt::dib_image_of(block.data(), block.size(), pixel_offset, &im)) std::abort();
  const Layout layout = fmt::tif::choose_layout(im, as16);
  const uint64_t expected = fmt::tif::file_size(im, layout);
  if (expected > (uint64_t{1} << 20)) return 0;

  std::vector<uint8_t> file;
  fmt::BufferedWriter out(fmt::vector_sink(&file), 4096);
  const bool ok = layout == Layout::Grey16 ? fmt::tif::write_grey16(im, order, 12345, out)
                                           : fmt::tif::write_palette_rgb(im, order, out);
  if (!ok || file.size() != expected) std::abort();

  const Tiff t{file, order == ByteOrder::Motorola};
  const Fields f = read_ifd(t);
  if (f.width != im.width || f.length != im.height) std::abort();
  if (uint64_t{f.strip} + f.count != file.size()) std::abort();
  const uint64_t row = layout == Layout::Palette ? fmt::tif::palette_row_bytes(im.width, im.bit_count)
                       : layout == Layout::Rgb   ? 3 * uint64_t{im.width}
                                                 : 2 * uint64_t{im.width};
  if (uint64_t{f.count} != row * im.height) std::abort();
  for (uint32_t y = 0; y < im.height; ++y) {
    const uint8_t* r = &file[f.strip + static_cast<size_t>(row * y)];
    const uint32_t src_y = im.height - 1 - y;  // the file runs top-down
    for (uint32_t x = 0; x < im.width; ++x) {
      if (layout == Layout::Palette) {
        if (f.bits != im.bit_count) std::abort();
        const uint32_t bit = x * im.bit_count;
        const uint32_t v = (r[bit / 8] >> (8 - im.bit_count - bit % 8)) & ((1u << im.bit_count) - 1);
        if (v != index_at(im, x, src_y)) std::abort();
      } else if (layout == Layout::Rgb) {
        uint8_t want[3];
        expected_rgb(im, x, src_y, want);
        if (r[3 * x] != want[0] || r[3 * x + 1] != want[1] || r[3 * x + 2] != want[2]) std::abort();
      } else {
        const uint32_t sample = t.u16(f.strip + static_cast<size_t>(row * y) + 2 * x);
        const uint32_t level = im.table[4 * im.row(src_y)[x]];
        const uint32_t base = order == ByteOrder::Motorola ? 255 - level : level;
        const int64_t centre = int64_t{base} * 257, got = sample;
        if (got < centre - 256 || got > centre + 256) std::abort();  // the dither's range
      }
    }
  }
  return 0;
}
