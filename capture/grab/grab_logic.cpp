#include "capture/grab/grab_logic.h"

namespace capture {

GrabPoint square_origin(GrabPoint pointer, int halfSize) {
  return GrabPoint{pointer.x - halfSize, pointer.y - halfSize};
}

int dash_count(int n) {
  switch (n) {
    case 16: return 5;
    case 32: return 10;
    case 48: return 15;
    case 64: return 21;
    default: return 0;
  }
}

std::vector<GrabRect> frame_rects(int n) {
  std::vector<GrabRect> rects;
  const int count = dash_count(n);
  if (count == 0) return rects;
  // One edge as stretches along it: full ones of kDashLength, then the rest
  // up to (not including) the edge's last pixel, whose own kind follows the
  // alternation.
  struct Stretch {
    int start, length;
  };
  std::vector<Stretch> dashes;
  for (int k = 0; k < count; k += 2) dashes.push_back({k * kDashLength, kDashLength});
  const int rest = count * kDashLength;
  if (count % 2 == 0 && rest < n - 1) dashes.push_back({rest, n - 1 - rest});

  for (const Stretch& s : dashes) {
    rects.push_back({s.start, 0, s.length, 1});
    rects.push_back({s.start, n - 1, s.length, 1});
  }
  for (const Stretch& s : dashes) {
    rects.push_back({0, s.start, 1, s.length});
    rects.push_back({n - 1, s.start, 1, s.length});
  }
  return rects;
}

int frame_hits(const std::vector<GrabRect>& rects, int i, int j) {
  int hits = 0;
  for (const GrabRect& r : rects)
    if (i >= r.x && i < r.x + r.w && j >= r.y && j < r.y + r.h) ++hits;
  return hits;
}

GrabPoint source_offset(int orientation, int n, int i, int j) {
  switch (orientation) {
    case 1: return {n - 1 - i, n - 1 - j};  // turned by 180 degrees
    case 2: return {n - 1 - i, j};          // mirrored left to right
    case 3: return {i, n - 1 - j};          // upside down
    default: return {i, j};
  }
}

std::vector<uint32_t> take_square(const uint32_t* screen, int width, int height, GrabPoint origin, int n,
                                  int orientation) {
  std::vector<uint32_t> image(static_cast<size_t>(n) * static_cast<size_t>(n), 0);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const GrabPoint s = source_offset(orientation, n, i, j);
      const int64_t x = int64_t{origin.x} + s.x;
      const int64_t y = int64_t{origin.y} + s.y;
      if (x < 0 || y < 0 || x >= width || y >= height) continue;
      image[static_cast<size_t>(j) * static_cast<size_t>(n) + static_cast<size_t>(i)] =
          screen[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
  return image;
}

std::string success_text(int n, int colours, bool japanese) {
  const std::string size = std::to_string(n);
  return size + "x" + size + "/" + std::to_string(colours) +
         (japanese ? "色アイコン・ファイルが\nできあがりました." : " color icon file\nhas been created.");
}

}  // namespace capture
