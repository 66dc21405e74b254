#include "tools/artwork/canvas.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

namespace art {

PixelArt parse_art(std::initializer_list<std::string_view> rows) {
  PixelArt art;
  art.height = static_cast<int>(rows.size());
  for (std::string_view row : rows) {
    if (art.width == 0) art.width = static_cast<int>(row.size());
    if (static_cast<int>(row.size()) != art.width)
      throw std::runtime_error("pixel art row of " + std::to_string(row.size()) + " characters, expected " +
                               std::to_string(art.width) + ": \"" + std::string(row) + "\"");
    art.cells.insert(art.cells.end(), row.begin(), row.end());
  }
  if (art.width == 0 || art.height == 0) throw std::runtime_error("empty pixel art");
  return art;
}

Legend::Legend(std::initializer_list<std::pair<char, Rgb>> entries) {
  for (const auto& [c, rgb] : entries) colours_[static_cast<unsigned char>(c) & 0x7F] = rgb;
}

Rgb Legend::colour(char c) const {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 128 || !colours_[u]) throw std::runtime_error(std::string("pixel art character '") + c + "' has no colour");
  return *colours_[u];
}

const std::vector<Rgb>& vga_palette() {
  static const std::vector<Rgb> palette = {
      {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
      {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  return palette;
}

const Legend& vga_legend() {
  static const Legend legend = [] {
    const auto& p = vga_palette();
    return Legend{{'K', p[0]},  {'M', p[1]},  {'G', p[2]},  {'O', p[3]},  {'N', p[4]},  {'P', p[5]},
                  {'T', p[6]},  {'L', p[7]},  {'D', p[8]},  {'R', p[9]},  {'g', p[10]}, {'Y', p[11]},
                  {'B', p[12]}, {'F', p[13]}, {'C', p[14]}, {'W', p[15]}};
  }();
  return legend;
}

int luminance(Rgb c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

Canvas::Canvas(int width, int height, std::vector<Rgb> palette, uint8_t fill)
    : width_(width), height_(height), palette_(std::move(palette)),
      px_(static_cast<size_t>(width * height), fill) {}

void Canvas::fill_rect(int x, int y, int w, int h, uint8_t c) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
  for (int yy = y0; yy < y1; ++yy)
    for (int xx = x0; xx < x1; ++xx) px_[index(xx, yy)] = c;
}

static int distance(Rgb a, Rgb b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  // Green counts most and blue least, roughly as the eye weighs them.
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

uint8_t Canvas::nearest(Rgb c) const {
  size_t best = 0;
  for (size_t i = 1; i < palette_.size(); ++i)
    if (distance(palette_[i], c) < distance(palette_[best], c)) best = i;
  return static_cast<uint8_t>(best);
}

void Canvas::paste(const Canvas& src, int x, int y) {
  for (int sy = 0; sy < src.height(); ++sy)
    for (int sx = 0; sx < src.width(); ++sx) set(x + sx, y + sy, nearest(src.palette()[src.get(sx, sy)]));
}

fmt::dib::IndexedImage Canvas::image(int bits) const {
  fmt::dib::IndexedImage im;
  im.width = static_cast<uint32_t>(width_);
  im.height = static_cast<uint32_t>(height_);
  im.bits = bits;
  im.palette = palette_;
  im.pixels = px_;
  return im;
}

void draw_art(Canvas& canvas, const PixelArt& art, int x, int y, const Legend& legend) {
  for (int ay = 0; ay < art.height; ++ay)
    for (int ax = 0; ax < art.width; ++ax)
      if (!art.clear(ax, ay)) canvas.set(x + ax, y + ay, canvas.nearest(legend.colour(art.at(ax, ay))));
}

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour to_colour(Rgb c) { return {float(c.r), float(c.g), float(c.b)}; }

namespace {

uint8_t channel(float v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }
Rgb to_rgb(Colour c) { return {channel(c.r), channel(c.g), channel(c.b)}; }

struct Entry {
  Rgb colour;
  uint32_t count;
};

int component(Rgb c, int axis) { return axis == 0 ? c.r : axis == 1 ? c.g : c.b; }

// Splits the colour list into boxes, always the box with the widest spread
// of any channel weighted by its pixels, at its median along that channel.
std::vector<Rgb> median_cut(std::vector<Entry> entries, int max_colours) {
  struct Box {
    size_t begin, end;
  };
  auto spread = [&](const Box& b, int* axis) {
    int best = -1;
    for (int a = 0; a < 3; ++a) {
      int lo = 255, hi = 0;
      for (size_t i = b.begin; i < b.end; ++i) {
        lo = std::min(lo, component(entries[i].colour, a));
        hi = std::max(hi, component(entries[i].colour, a));
      }
      if (hi - lo > best) best = hi - lo, *axis = a;
    }
    return best;
  };
  auto weight = [&](const Box& b) {
    uint64_t n = 0;
    for (size_t i = b.begin; i < b.end; ++i) n += entries[i].count;
    return n;
  };

  std::vector<Box> boxes = {{0, entries.size()}};
  while (static_cast<int>(boxes.size()) < max_colours) {
    size_t pick = boxes.size();
    double pick_score = 0;
    int pick_axis = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].end - boxes[i].begin < 2) continue;
      int axis = 0;
      const double score = spread(boxes[i], &axis) * std::sqrt(double(weight(boxes[i])));
      if (score > pick_score) pick_score = score, pick = i, pick_axis = axis;
    }
    if (pick == boxes.size()) break;
    Box b = boxes[pick];
    std::sort(entries.begin() + static_cast<long>(b.begin), entries.begin() + static_cast<long>(b.end),
              [&](const Entry& x, const Entry& y) {
                return component(x.colour, pick_axis) < component(y.colour, pick_axis);
              });
    const uint64_t half = weight(b) / 2;
    uint64_t seen = 0;
    size_t cut = b.begin;
    while (cut < b.end - 1 && seen + entries[cut].count <= half) seen += entries[cut++].count;
    if (cut == b.begin) cut = b.begin + 1;
    boxes[pick] = {b.begin, cut};
    boxes.push_back({cut, b.end});
  }

  std::vector<Rgb> palette;
  for (const Box& b : boxes) {
    double r = 0, g = 0, bl = 0, n = 0;
    for (size_t i = b.begin; i < b.end; ++i) {
      r += entries[i].colour.r * double(entries[i].count);
      g += entries[i].colour.g * double(entries[i].count);
      bl += entries[i].colour.b * double(entries[i].count);
      n += entries[i].count;
    }
    palette.push_back(to_rgb({float(r / n), float(g / n), float(bl / n)}));
  }
  return palette;
}

}  // namespace

Canvas reduce_colours(const RgbCanvas& picture, int max_colours) {
  const int w = picture.width(), h = picture.height();
  std::map<uint32_t, uint32_t> counts;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgb c = to_rgb(picture.get(x, y));
      ++counts[uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b];
    }
  std::vector<Entry> entries;
  for (const auto& [key, n] : counts)
    entries.push_back({Rgb{uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key)}, n});
  const bool exact = static_cast<int>(entries.size()) <= max_colours;
  std::vector<Rgb> palette;
  if (exact) {
    for (const Entry& e : entries) palette.push_back(e.colour);
  } else {
    palette = median_cut(std::move(entries), max_colours);
  }

  Canvas out(w, h, palette);
  // Floyd-Steinberg: each pixel's rounding error goes to the pixels not yet drawn.
  std::vector<Colour> err_now(static_cast<size_t>(w + 2)), err_next(static_cast<size_t>(w + 2));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Colour c = picture.get(x, y);
      const Colour e = err_now[static_cast<size_t>(x + 1)];
      c = {c.r + e.r, c.g + e.g, c.b + e.b};
      const uint8_t index = out.nearest(to_rgb(c));
      out.set(x, y, index);
      if (exact) continue;
      const Colour got = to_colour(palette[index]);
      const Colour d{c.r - got.r, c.g - got.g, c.b - got.b};
      auto add = [&](std::vector<Colour>& row, int at, float f) {
        Colour& t = row[static_cast<size_t>(at + 1)];
        t = {t.r + d.r * f, t.g + d.g * f, t.b + d.b * f};
      };
      add(err_now, x + 1, 7.f / 16);
      add(err_next, x - 1, 3.f / 16);
      add(err_next, x, 5.f / 16);
      add(err_next, x + 1, 1.f / 16);
    }
    err_now.swap(err_next);
    std::fill(err_next.begin(), err_next.end(), Colour{});
  }
  return out;
}

}  // namespace art
