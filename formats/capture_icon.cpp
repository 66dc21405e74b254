#include "formats/capture_icon.h"

#include <algorithm>

#include "formats/bmp_header.h"
#include "formats/bytes.h"
#include "formats/icon_layout.h"

namespace fmt::capture_icon {

namespace {

constexpr uint32_t kInfoSize = bmp::kInfoHeaderSize;

constexpr std::array<Rgb, 16> kPalette16 = {{
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {128, 128, 128}, {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};

// Entries 0 to 146 of the 256-colour palette: the first ten static colours,
// then colours that follow no rule.
constexpr Rgb kIrregular[147] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},     {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240}, {155, 104, 24},  {65, 100, 41},
    {179, 120, 24},  {49, 83, 33},    {90, 132, 82},   {90, 125, 65},   {74, 115, 74},   {49, 90, 49},
    {171, 104, 24},  {204, 145, 33},  {110, 148, 99},  {57, 99, 66},    {74, 99, 57},    {78, 110, 41},
    {196, 137, 17},  {74, 116, 57},   {81, 119, 91},   {146, 87, 16},   {66, 82, 41},    {41, 66, 24},
    {90, 111, 49},   {49, 66, 41},    {66, 82, 57},    {107, 136, 80},  {41, 49, 16},    {212, 134, 61},
    {74, 99, 74},    {16, 33, 8},     {122, 159, 88},  {58, 64, 24},    {57, 87, 77},    {196, 129, 16},
    {41, 66, 12},    {32, 66, 41},    {212, 162, 66},  {24, 49, 16},    {89, 54, 24},    {130, 87, 24},
    {49, 74, 57},    {109, 123, 82},  {107, 149, 82},  {84, 87, 47},    {119, 137, 85},  {0, 24, 0},
    {97, 118, 99},   {64, 30, 24},    {74, 84, 26},    {103, 128, 65},  {94, 132, 99},   {14, 49, 4},
    {212, 162, 83},  {107, 118, 51},  {7, 7, 7},       {179, 129, 9},   {66, 49, 24},    {21, 49, 33},
    {163, 112, 8},   {123, 169, 112}, {33, 49, 33},    {188, 137, 42},  {119, 168, 100}, {179, 129, 25},
    {60, 108, 90},   {57, 80, 12},    {122, 71, 16},   {98, 144, 99},   {212, 186, 124}, {196, 153, 58},
    {129, 150, 111}, {82, 82, 82},    {171, 112, 9},   {141, 169, 104}, {198, 137, 0},   {135, 175, 137},
    {122, 123, 78},  {104, 111, 82},  {101, 112, 66},  {102, 152, 120}, {22, 22, 22},    {212, 153, 50},
    {131, 152, 76},  {212, 178, 103}, {33, 33, 8},     {179, 120, 8},   {212, 186, 141}, {98, 126, 111},
    {121, 119, 57},  {39, 13, 24},    {52, 52, 52},    {84, 50, 11},    {105, 71, 24},   {75, 124, 111},
    {90, 108, 37},   {91, 99, 57},    {155, 96, 0},    {86, 85, 26},    {77, 99, 28},    {212, 162, 99},
    {212, 178, 91},  {191, 139, 32},  {30, 76, 63},    {103, 49, 24},   {182, 122, 32},  {15, 15, 15},
    {45, 45, 45},    {59, 101, 20},   {28, 61, 5},     {170, 112, 25},  {65, 45, 14},    {47, 30, 24},
    {23, 13, 24},    {21, 70, 26},    {216, 165, 85},  {212, 170, 116}, {37, 37, 37},    {216, 165, 68},
    {30, 30, 30},    {65, 45, 3},     {167, 114, 24},  {208, 148, 35},  {216, 137, 63},  {200, 147, 49},
    {212, 145, 17},  {210, 195, 160}, {216, 181, 105}, {216, 165, 101}, {176, 134, 61},  {155, 104, 17},
    {80, 38, 24},    {196, 137, 58},  {216, 181, 93},  {196, 153, 75},  {208, 147, 24},  {90, 69, 35},
    {200, 156, 77},  {81, 61, 30},    {207, 148, 35},
};

// Entries 246 to 255: the last ten static colours.
constexpr Rgb kStaticTail[10] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

// Entries 147 to 245 are the cells 138 to 236 of a 7 x 7 x 7 grid of the
// levels 63, 95, ..., 255, red counting fastest, then green, then blue.
constexpr std::array<Rgb, 256> make_palette256() {
  std::array<Rgb, 256> p{};
  for (int i = 0; i < 147; ++i) p[i] = kIrregular[i];
  for (int i = 147; i < 246; ++i) {
    const int cell = i - 147 + 138;
    auto level = [](int k) { return static_cast<uint8_t>(63 + 32 * k); };
    p[i] = Rgb{level(cell % 7), level(cell / 7 % 7), level(cell / 49)};
  }
  for (int i = 0; i < 10; ++i) p[246 + i] = kStaticTail[i];
  return p;
}

constexpr std::array<Rgb, 256> kPalette256 = make_palette256();

uint32_t xor_rows_bytes(uint32_t n, int bits) { return static_cast<uint32_t>(n * icon::xor_row_bytes(n, bits)); }
uint32_t mask_bytes(uint32_t n) { return static_cast<uint32_t>(n * icon::and_row_bytes(n)); }
uint32_t table_bytes(int bits) { return 4 * icon::palette_entries(bits); }

}  // namespace

std::span<const Rgb> fixed_palette(int colours) {
  if (colours == 16) return kPalette16;
  if (colours == 256) return kPalette256;
  return {};
}

int bits_for(int colours) { return colours == 16 ? 4 : colours == 256 ? 8 : 0; }

bool supported(uint32_t n, int colours) {
  return (n == 16 || n == 32 || n == 48 || n == 64) && bits_for(colours) != 0;
}

uint32_t reduced_block_size(uint32_t n, int colours) {
  const int bits = bits_for(colours);
  return kInfoSize + table_bytes(bits) + xor_rows_bytes(n, bits);
}

void put_reduced_header(uint8_t* block, uint32_t n, int colours) {
  const int bits = bits_for(colours);
  // Resolution and colour counts stay 0: the platform may fill them in.
  // Positive height: bottom-up rows.
  bmp::put_plain_info_header(block, n, n, static_cast<uint32_t>(bits), xor_rows_bytes(n, bits));
  uint8_t* table = block + kInfoSize;
  const std::span<const Rgb> palette = fixed_palette(colours);
  for (size_t i = 0; i < palette.size(); ++i) {
    table[4 * i + 0] = palette[i].b;
    table[4 * i + 1] = palette[i].g;
    table[4 * i + 2] = palette[i].r;
    table[4 * i + 3] = 0;
  }
}

int exact_index(uint32_t rgb, int colours) {
  const std::span<const Rgb> palette = fixed_palette(colours);
  for (size_t i = 0; i < palette.size(); ++i) {
    const Rgb c = palette[i];
    if (((uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b) == (rgb & 0xFFFFFF)) return static_cast<int>(i);
  }
  return -1;
}

void keep_exact_colours(uint8_t* block, size_t blockLen, const uint32_t* pixels, uint32_t n, int colours) {
  if (!supported(n, colours) || blockLen < reduced_block_size(n, colours)) return;
  const int bits = bits_for(colours);
  const uint32_t stride = static_cast<uint32_t>(icon::xor_row_bytes(n, bits));
  uint8_t* rows = block + kInfoSize + table_bytes(bits);
  for (uint32_t y = 0; y < n; ++y)
    for (uint32_t x = 0; x < n; ++x) {
      const int index = exact_index(pixels[y * n + x], colours);
      if (index < 0) continue;
      uint8_t& b = rows[(n - 1 - y) * stride + x * static_cast<uint32_t>(bits) / 8];  // rows bottom-up
      if (bits == 8)
        b = static_cast<uint8_t>(index);
      else if (x % 2 == 0)
        b = static_cast<uint8_t>((b & 0x0F) | (index << 4));  // the left pixel in the high half
      else
        b = static_cast<uint8_t>((b & 0xF0) | index);
    }
}

std::array<uint8_t, kHeaderSize> icon_header(uint32_t n, int colours) {
  std::array<uint8_t, kHeaderSize> h{};
  if (!supported(n, colours)) return h;
  const int bits = bits_for(colours);
  const uint32_t pixelBytes = xor_rows_bytes(n, bits) + mask_bytes(n);
  put_u16le(&h[0], 0);
  put_u16le(&h[2], 1);  // an icon
  put_u16le(&h[4], 1);  // one image
  h[6] = static_cast<uint8_t>(n);
  h[7] = static_cast<uint8_t>(n);
  h[8] = static_cast<uint8_t>(colours == 16 ? 16 : 0);  // 256 does not fit the byte
  h[9] = 0;
  put_u16le(&h[10], 0);  // planes and bit count of the entry: 0, as this writer always had them
  put_u16le(&h[12], 0);
  put_u32le(&h[14], kInfoSize + table_bytes(bits) + pixelBytes);
  put_u32le(&h[18], icon::kDirectorySize);
  // Colour rows and mask rows together; the resolution and colour-count
  // fields (offsets 46 to 61) stay 0.
  bmp::put_plain_info_header(&h[icon::kDirectorySize], n, 2 * n, static_cast<uint32_t>(bits), pixelBytes);
  return h;
}

std::vector<uint8_t> icon_file(const uint8_t* block, size_t blockLen, uint32_t n, int colours) {
  if (!supported(n, colours) || block == nullptr || blockLen < reduced_block_size(n, colours)) return {};
  const int bits = bits_for(colours);
  if (get_u32le(block) != kInfoSize || get_u32le(block + 4) != n || get_u32le(block + 8) != n ||
      get_u16le(block + 14) != static_cast<uint32_t>(bits) || get_u32le(block + 16) != 0)
    return {};

  const auto size = static_cast<size_t>(icon::expected_file_size(n, n, bits));
  std::vector<uint8_t> file(size, 0);  // the AND mask stays 0: every pixel opaque
  const std::array<uint8_t, kHeaderSize> header = icon_header(n, colours);
  std::copy(header.begin(), header.end(), file.begin());
  const uint32_t image = table_bytes(bits) + xor_rows_bytes(n, bits);
  std::copy(block + kInfoSize, block + kInfoSize + image, file.begin() + kHeaderSize);
  return file;
}

}  // namespace fmt::capture_icon
