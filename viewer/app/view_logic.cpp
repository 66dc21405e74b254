#include "viewer/app/view_logic.h"

#include <algorithm>
#include <cstdio>

#include "frame/path_logic.h"

namespace viewer {

int zoom_factor(int step) { return step >= 0 ? step + 1 : 1 - step; }
bool magnifying(int step) { return step >= 0; }

Extent displayed_size(int w, int h, int step) {
  const long long z = zoom_factor(step);
  if (magnifying(step)) return {w * z, h * z};
  return {w / z, h / z};
}

ScrollLimits scroll_limits(int w, int h, int step, int cw, int ch, int sbh, int sbv, bool hVis, bool vVis) {
  const long long z = zoom_factor(step);
  const Extent d = displayed_size(w, h, step);
  const long long overX = d.w + (vVis ? sbv : 0) - cw;
  const long long overY = d.h + (hVis ? sbh : 0) - ch + 20;
  if (magnifying(step)) return {overX / z, overY / z};
  return {overX * z, overY * z};
}

long long scroll_to(long long pos, ScrollCode code, long long thumb, long long limit) {
  switch (code) {
    case ScrollCode::LineBack: pos -= 1; break;
    case ScrollCode::LineForward: pos += 1; break;
    case ScrollCode::PageBack: pos -= 10; break;
    case ScrollCode::PageForward: pos += 10; break;
    case ScrollCode::Thumb: pos = thumb; break;
    case ScrollCode::Other: break;
  }
  // An axis that has nothing to scroll has a negative limit; its position
  // stays at 0 instead of following the limit below it, which would move the
  // image away from the corner and leave unpainted parts of the view behind.
  return std::max(0LL, std::min(limit, pos));
}

ScrollLayout layout_scroll_bars(int w, int h, int step, int cw, int ch, int sbh, int sbv) {
  const long long z = zoom_factor(step);
  const bool mag = magnifying(step);
  const Extent d = displayed_size(w, h, step);
  auto range = [&](long long over) { return mag ? over / z : over * z; };
  const bool wide = d.w > cw;
  const bool tall = d.h + 20 > ch;

  ScrollLayout l{};
  l.hVisible = wide;
  l.vVisible = tall;
  l.resetX = !wide;
  l.resetY = !tall;
  if (wide && tall) {
    l.hBar = {0, ch - sbh, cw - sbv, sbh};
    l.vBar = {cw - sbv, 20, sbv, ch - 20 - sbh};
    l.hRangeMax = range(d.w - cw + sbv);
    l.vRangeMax = range(d.h + 20 - ch + sbh);
    l.showGrip = true;
    l.grip = {cw - sbv, ch - sbh, sbv, sbh};
  } else if (tall) {
    l.vBar = {cw - sbv, 20, sbv, ch - 20};
    l.hBar = {0, ch - sbh, cw - sbv, sbh};
    l.vRangeMax = range(d.h + 20 - ch);
  } else if (wide) {
    l.vBar = {cw - sbv, 20, sbv, ch - 20 - sbh};
    l.hBar = {0, ch - sbh, cw, sbh};
    l.hRangeMax = range(d.w - cw);
  } else {
    l.vBar = {cw - sbv, 20, sbv, ch - 20 - sbh};
    l.hBar = {0, ch - sbh, cw - sbv, sbh};
  }
  return l;
}

ImageButtons zoom_buttons(int step, int fitStep, int w, int h, int freeW, int freeH) {
  if (step <= -9) return {false, true};
  if (step >= 9) return {true, false};
  ImageButtons b{};
  b.zoomOut = step > fitStep;
  if (step < 0) {
    b.zoomIn = true;
  } else {
    // Magnifying beyond twice the free screen would only show a fraction of
    // the image and costs memory in the display driver.
    const long long next = step + 1;
    b.zoomIn = next * w < 2LL * freeW && next * h < 2LL * freeH;
  }
  return b;
}

void ratio_text(int step, char* out, size_t outSize) {
  std::snprintf(out, outSize, step < 0 ? "1:%d]" : "%d:1]", zoom_factor(step));
}

const char* file_name_of(const char* path, bool (*isLead)(unsigned char)) {
  return frame::file_name_of(path, isLead);
}

}  // namespace viewer
