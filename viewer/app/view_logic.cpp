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
  // A side reduced below one pixel is still shown as one: a 5000 x 3 image
  // at 1:7 would otherwise be drawn as nothing at all.
  auto reduced = [z](long long side) { return side > 0 ? std::max(1LL, side / z) : 0LL; };
  return {reduced(w), reduced(h)};
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
    case ScrollCode::Start: pos = 0; break;
    case ScrollCode::End: pos = limit; break;
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
  // A bar takes room from the other axis: an image that only just fits the
  // width no longer does once the vertical bar stands over its last columns,
  // and then needs the horizontal bar to reach them (and the other way
  // round). Each bar can add the other at most once, so two rounds settle.
  bool wide = d.w > cw;
  bool tall = d.h + 20 > ch;
  for (int round = 0; round < 2; ++round) {
    wide = wide || (tall && d.w > cw - sbv);
    tall = tall || (wide && d.h + 20 > ch - sbh);
  }

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

WheelScroll wheel_scroll(int pendingDelta, unsigned linesPerNotch) {
  WheelScroll s{};
  const int notches = pendingDelta / kWheelDelta;  // toward zero: a part notch waits for the rest
  s.remainder = pendingDelta - notches * kWheelDelta;
  if (notches == 0 || linesPerNotch == 0) return s;
  // Turned away from the user the wheel brings the top (or, with Shift, the
  // left) of the picture into view, as the scroll bar's upper arrow does.
  const bool back = notches > 0;
  const int n = notches > 0 ? notches : -notches;
  if (linesPerNotch == kWheelPageScroll) {
    s.code = back ? ScrollCode::PageBack : ScrollCode::PageForward;
    s.times = n;
  } else {
    s.code = back ? ScrollCode::LineBack : ScrollCode::LineForward;
    // Bounded: a setting of thousands of lines still only reaches the end.
    s.times = static_cast<int>(std::min<long long>(1LL * n * linesPerNotch, 1 << 20));
  }
  return s;
}

void ratio_text(int step, char* out, size_t outSize) {
  std::snprintf(out, outSize, step < 0 ? "1:%d]" : "%d:1]", zoom_factor(step));
}

const char* file_name_of(const char* path, bool (*isLead)(unsigned char)) {
  return frame::file_name_of(path, isLead);
}

}  // namespace viewer
