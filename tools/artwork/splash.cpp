// The viewer's start-up picture: the program's name over a framed landscape
// photograph that a magnifying glass enlarges, on an evening-blue ground.
// The scene is a function of continuous coordinates, sampled 4 x 4 times a
// pixel, so every edge is smooth and the glass can show the same scene
// enlarged; the lettering is laid on afterwards, pixel-sharp.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "tools/artwork/artwork.h"
#include "tools/artwork/font.h"

namespace art {

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 192;

// The photograph inside its frame, in picture coordinates.
constexpr float kPhotoX = 46, kPhotoY = 58, kPhotoW = 148, kPhotoH = 104;
constexpr float kFrame = 7;
// The magnifier: centre of the glass, glass and rim radii, handle direction.
constexpr float kLensX = 164, kLensY = 134, kGlass = 23, kRim = 28;
constexpr float kZoom = 2;

float smooth(float e0, float e1, float x) {
  const float t = std::clamp((x - e0) / (e1 - e0), 0.f, 1.f);
  return t * t * (3 - 2 * t);
}
Colour rgb(float r, float g, float b) { return {r, g, b}; }
Colour scale(Colour c, float f) { return {c.r * f, c.g * f, c.b * f}; }

// --- the photograph (u, v from its top left, in pixels) ----------------------

float far_ridge(float u) {
  // Three peaks, each a rounded triangle.
  float top = 52;
  const float peaks[3][3] = {{22, 28, 0.9f}, {70, 20, 0.75f}, {128, 30, 1.0f}};
  for (const auto& p : peaks) top = std::min(top, 52 - p[1] + std::abs(u - p[0]) * p[2]);
  return top;
}
float near_hill(float u) { return 66 - 6 * std::sin(u * 0.045f + 0.6f) - 3 * std::sin(u * 0.14f); }
constexpr float kShore = 76;

bool in_pine(float u, float v, float cu, float base, float h) {
  if (v > base || v < base - h) return false;
  if (std::abs(u - cu) < 0.8f && v > base - 2.5f) return true;  // trunk
  const float t = (v - (base - h)) / (h - 2.5f);
  return v <= base - 2.5f && std::abs(u - cu) < t * h * 0.32f + 0.3f;
}

Colour boat(float u, float v, Colour under) {
  // A sailing boat resting on the lake, hidden under the glass except
  // where the glass enlarges it.
  const float cu = 118, wl = 82;  // centre and water line
  if (v <= wl + 3 && v >= wl && std::abs(u - cu) < 7 - (v - wl) * 0.8f)
    return v < wl + 1 ? rgb(230, 230, 220) : rgb(170, 40, 30);
  if (std::abs(u - (cu - 0.5f)) < 0.45f && v < wl && v > wl - 15) return rgb(90, 60, 40);  // mast
  if (v < wl - 1 && v > wl - 14 && u > cu && u - cu < (v - (wl - 14)) * 0.45f) return rgb(250, 250, 245);
  if (v < wl - 2 && v > wl - 11 && u < cu - 1 && cu - 1 - u < (v - (wl - 11)) * 0.38f)
    return rgb(255, 210, 120);
  return under;
}

Colour photo(float u, float v) {
  // Sky, light near the horizon, with the sun and its glow.
  Colour c = mix(rgb(60, 130, 215), rgb(200, 225, 245), smooth(0, 58, v));
  const float sun = std::hypot(u - 104, v - 22);
  c = mix(c, rgb(255, 245, 215), 0.55f * (1 - smooth(0, 34, sun)));
  if (sun < 8) c = mix(c, rgb(255, 250, 220), smooth(8, 7, sun));
  // Two soft clouds.
  for (const auto& cl : {std::array{34.f, 18.f, 16.f, 4.5f}, std::array{62.f, 30.f, 11.f, 3.2f}}) {
    const float d = std::hypot((u - cl[0]) / cl[2], (v - cl[1]) / cl[3]);
    c = mix(c, rgb(250, 252, 255), 0.85f * smooth(1.1f, 0.7f, d));
  }
  // Far mountains with snow, hazy blue.
  const float ridge = far_ridge(u);
  if (v >= ridge) {
    c = mix(rgb(118, 128, 178), rgb(150, 160, 200), smooth(ridge, 52, v));
    if (v < ridge + 5 && ridge < 34) c = mix(rgb(245, 248, 255), c, smooth(ridge + 3, ridge + 5, v));
  }
  // Green hills with a few pines, darker toward the shore.
  const float hill = near_hill(u);
  if (v >= hill) c = mix(rgb(110, 170, 70), rgb(40, 105, 45), smooth(hill, kShore, v));
  for (const auto& p : {std::array{14.f, 64.f, 13.f}, std::array{22.f, 66.f, 10.f},
                        std::array{44.f, 71.f, 12.f}, std::array{84.f, 72.f, 9.f}})
    if (in_pine(u, v, p[0], p[1], p[2])) c = rgb(25, 70, 40);
  // The lake mirrors the sky and the sun.
  if (v >= kShore) {
    c = mix(rgb(120, 170, 220), rgb(40, 90, 165), smooth(kShore, kPhotoH, v));
    const float ripple = std::sin(v * 2.1f + std::sin(u * 0.3f) * 1.5f);
    if (std::abs(u - 104) < 10 - (v - kShore) * 0.25f && ripple > 0.3f) c = mix(c, rgb(255, 240, 200), 0.7f);
    c = boat(u, v, c);
  }
  return c;
}

// --- the composition -----------------------------------------------------------

Colour ground(float x, float y) {
  Colour c = mix(rgb(22, 40, 92), rgb(70, 120, 176), smooth(0, kHeight, y));
  const float glow = std::hypot((x - 128) / 150, (y - 105) / 110);
  return mix(c, rgb(150, 190, 230), 0.35f * (1 - smooth(0, 1, glow)));
}

// Distance outside a rectangle (negative inside).
float rect_distance(float x, float y, float x0, float y0, float x1, float y1) {
  const float dx = std::max(x0 - x, x - x1), dy = std::max(y0 - y, y - y1);
  if (dx < 0 && dy < 0) return std::max(dx, dy);
  return std::hypot(std::max(dx, 0.f), std::max(dy, 0.f));
}

// Position along the handle axis and distance from it.
void handle_coords(float x, float y, float* along, float* across) {
  const float k = 0.70710678f;
  const float dx = x - kLensX, dy = y - kLensY;
  *along = (dx + dy) * k;
  *across = (dx - dy) * k;
}

// Opacity of the magnifier's body (rim and handle), without the glass.
bool in_magnifier(float x, float y) {
  const float r = std::hypot(x - kLensX, y - kLensY);
  if (r <= kRim) return true;
  float along, across;
  handle_coords(x, y, &along, &across);
  return along > kRim - 2 && along < kRim + 42 && std::abs(across) < (along < kRim + 8 ? 5.f : 6.f);
}

// Everything beneath the magnifier: ground, shadows, frame and photograph.
Colour backdrop(float x, float y, bool with_magnifier_shadow) {
  const float x0 = kPhotoX - kFrame, y0 = kPhotoY - kFrame;
  const float x1 = kPhotoX + kPhotoW + kFrame, y1 = kPhotoY + kPhotoH + kFrame;
  Colour c = ground(x, y);
  float shade = 0.5f * smooth(6, -2, rect_distance(x - 5, y - 6, x0, y0, x1, y1));
  if (with_magnifier_shadow && in_magnifier(x - 5, y - 5)) shade = std::max(shade, 0.4f);
  c = scale(c, 1 - shade);

  if (x >= x0 && x < x1 && y >= y0 && y < y1) {
    const float inset = std::min({x - x0, y - y0, x1 - x, y1 - y});
    if (inset < kFrame) {
      // A gilded frame: lit from the top left, a bead along both edges.
      const bool lit = (x - x0) + (y - y0) < (x1 - x) + (y1 - y) && std::min(x - x0, y - y0) < std::min(x1 - x, y1 - y);
      Colour gold = mix(rgb(250, 215, 120), rgb(170, 115, 40), smooth(0, kFrame, inset));
      if (!lit) gold = scale(gold, 0.72f);
      if (inset < 1) gold = lit ? rgb(255, 240, 180) : rgb(90, 60, 20);
      if (inset > kFrame - 1) gold = lit ? rgb(80, 50, 15) : rgb(240, 210, 140);
      return gold;
    }
    return photo(x - kPhotoX, y - kPhotoY);
  }
  return c;
}

Colour scene(float x, float y) {
  const float r = std::hypot(x - kLensX, y - kLensY);
  if (r < kGlass) {
    // The glass: the backdrop enlarged about its centre, a little cooler,
    // with a highlight on its upper left.
    Colour c = backdrop(kLensX + (x - kLensX) / kZoom, kLensY + (y - kLensY) / kZoom, false);
    c = mix(c, rgb(225, 240, 255), 0.08f);
    // A thin bright arc just inside the upper left of the rim.
    const float angle = std::atan2(y - kLensY, x - kLensX);  // -3/4 pi points up-left
    const float arc = smooth(0.9f, 0.2f, std::abs(angle + 2.356f)) * smooth(kGlass - 7, kGlass - 4.5f, r) *
                      smooth(kGlass - 2, kGlass - 3.5f, r);
    c = mix(c, rgb(255, 255, 255), 0.65f * arc);
    return mix(c, rgb(30, 40, 60), 0.35f * smooth(kGlass - 3, kGlass, r));  // edge of the glass
  }
  if (r <= kRim) {
    // Polished rim, bright where it faces the light.
    const float light = ((kLensX - x) + (kLensY - y)) / (r * 1.4142f);
    Colour metal = mix(rgb(70, 75, 85), rgb(235, 238, 245), 0.5f + 0.5f * light);
    if (r > kRim - 1 || r < kGlass + 1) metal = scale(metal, 0.55f);
    return metal;
  }
  float along, across;
  handle_coords(x, y, &along, &across);
  if (in_magnifier(x, y)) {
    const float round = 1 - std::abs(across) / 6;  // cylinder shading
    if (along < kRim + 8) return mix(rgb(90, 95, 105), rgb(230, 232, 238), round);  // the collar
    Colour wood = mix(rgb(45, 20, 12), rgb(170, 80, 45), round * round);
    if (std::abs(across + 2.5f) < 0.8f) wood = mix(wood, rgb(240, 170, 130), 0.6f);
    return wood;
  }
  return backdrop(x, y, true);
}

// --- lettering -------------------------------------------------------------------

// Lays text on the picture with a dark outline and a soft shadow; fill gives
// the colour of each row of the text (0 at its top, 1 at its bottom).
template <class Fill>
void letter(RgbCanvas& pic, const Font& font, std::string_view text, int scale_by, int x, int y,
            Colour outline, Fill fill) {
  const int w = text_width(font, text, scale_by), h = font.height * scale_by;
  std::vector<uint8_t> mask(static_cast<size_t>((w + 4) * (h + 4)), 0);
  auto at = [&](int mx, int my) -> uint8_t& { return mask[static_cast<size_t>(my * (w + 4) + mx)]; };
  render_text(font, text, scale_by, [&](int px, int py) { at(px + 2, py + 2) = 1; });
  auto near_ink = [&](int mx, int my, int reach) {
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx) {
        const int sx = mx + dx, sy = my + dy;
        if (sx >= 0 && sy >= 0 && sx < w + 4 && sy < h + 4 && at(sx, sy)) return true;
      }
    return false;
  };
  for (int my = 0; my < h + 4; ++my)
    for (int mx = 0; mx < w + 4; ++mx) {
      const int px = x + mx - 2, py = y + my - 2;
      if (near_ink(mx - 2, my - 2, 1)) pic.blend(px, py, rgb(0, 0, 20), 0.35f);  // shadow, 2 px down-right
    }
  for (int my = 0; my < h + 4; ++my)
    for (int mx = 0; mx < w + 4; ++mx) {
      const int px = x + mx - 2, py = y + my - 2;
      if (at(mx, my))
        pic.set(px, py, fill(float(my - 2) / float(h - 1)));
      else if (near_ink(mx, my, 1))
        pic.set(px, py, outline);
    }
}

}  // namespace

Canvas draw_viewer_splash() {
  RgbCanvas pic(kWidth, kHeight);
  constexpr int kSamples = 4;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Colour sum;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const Colour c = scene(float(x) + (float(sx) + 0.5f) / kSamples, float(y) + (float(sy) + 0.5f) / kSamples);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
      pic.set(x, y, scale(sum, 1.f / (kSamples * kSamples)));
    }

  const Font& big = title_font();
  const int title_w = text_width(big, "Kaldero", 2);
  letter(pic, big, "Kaldero", 2, (kWidth - title_w) / 2, 9, rgb(40, 22, 8), [](float t) {
    return t < 0.45f ? mix(rgb(255, 248, 200), rgb(255, 215, 110), t / 0.45f)
                     : mix(rgb(250, 185, 60), rgb(215, 120, 30), (t - 0.45f) / 0.55f);
  });
  const Font& small = small_font();
  const char* caption = "Image Viewer";
  const int cap_w = text_width(small, caption, 1);
  const int cap_x = (kWidth - cap_w) / 2, cap_y = 37;
  letter(pic, small, caption, 1, cap_x, cap_y, rgb(15, 30, 70), [](float) { return rgb(225, 238, 255); });
  // Fine rules either side of the caption.
  for (int i = 0; i < 36; ++i) {
    const float fade = 1 - float(i) / 36;
    pic.blend(cap_x - 8 - i, cap_y + 4, rgb(225, 238, 255), 0.8f * fade);
    pic.blend(cap_x + cap_w + 7 + i, cap_y + 4, rgb(225, 238, 255), 0.8f * fade);
  }
  return reduce_colours(pic, 256);
}

}  // namespace art

namespace art {

Canvas draw_sample_photo(int width, int height) {
  RgbCanvas pic(width, height);
  constexpr int kSamples = 2;
  uint32_t grain = 0x2545F491u;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Colour sum;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const float u = (float(x) + (float(sx) + 0.5f) / kSamples) * kPhotoW / float(width);
          const float v = (float(y) + (float(sy) + 0.5f) / kSamples) * kPhotoH / float(height);
          const Colour c = photo(u, v);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
      // A little film grain, as a camera's picture has.
      grain ^= grain << 13;
      grain ^= grain >> 17;
      grain ^= grain << 5;
      const float g = float(int(grain % 13) - 6);
      const Colour c = scale(sum, 1.f / (kSamples * kSamples));
      pic.set(x, y, {std::clamp(c.r + g, 0.f, 255.f), std::clamp(c.g + g, 0.f, 255.f), std::clamp(c.b + g, 0.f, 255.f)});
    }
  return reduce_colours(pic, 256);
}

}  // namespace art
