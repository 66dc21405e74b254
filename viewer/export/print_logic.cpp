#include "viewer/export/print_logic.h"

namespace viewer {

namespace {
// 80 per cent of a millimetre, in inches.
constexpr double kEightyPercentOfMm = 0.03149606299212599;
}  // namespace

Extent printed_source_size(int imageW, int imageH, int zoomStep) {
  Extent d = displayed_size(imageW, imageH, zoomStep);
  if (d.w < 1) d.w = 1;
  if (d.h < 1) d.h = 1;
  return d;
}

PrintPlacement print_placement(Extent displayed, const PrinterPage& page, int percent) {
  // A printer context that reports no size or resolution gives nothing to place.
  if (page.horzSizeMm <= 0 || page.vertSizeMm <= 0 || page.dpiX <= 0 || page.dpiY <= 0) return {};
  const double w = static_cast<double>(displayed.w), h = static_cast<double>(displayed.h);
  const double f = percent;
  const double pageW = page.horzSizeMm * kEightyPercentOfMm * page.dpiX;
  const double pageH = page.vertSizeMm * kEightyPercentOfMm * page.dpiY;
  const double boxW = f * pageW * 0.01;
  const double boxH = f * pageH * 0.01;
  // Device pixels across per pixel down: exactly 1 on the usual printer.
  // Where they differ, widths and heights are converted so that the paper
  // shows the proportions of the view and the page's orientation is its
  // shape in millimetres.
  const double xPerY = static_cast<double>(page.dpiX) / page.dpiY;
  const double widthForBoxH = w * boxH / h * xPerY;
  const double heightForBoxW = h * boxW / w / xPerY;

  PrintPlacement p{};
  p.x = static_cast<int>(boxW * 0.1);
  p.y = static_cast<int>(boxH * 0.1);
  bool fitWidth;
  if (w >= h && pageW <= pageH * xPerY) {
    fitWidth = true;  // a landscape image on a portrait page
  } else if (w < h && pageW > pageH * xPerY) {
    fitWidth = false;  // a portrait image on a landscape page
  } else {
    fitWidth = static_cast<int>(boxW) < static_cast<int>(widthForBoxH);
  }
  if (fitWidth) {
    p.width = static_cast<int>(boxW);
    p.height = static_cast<int>(heightForBoxW);
  } else {
    p.width = static_cast<int>(widthForBoxH);
    p.height = static_cast<int>(boxH);
  }
  // A very long, thin image still leaves a line on the paper.
  if (p.width < 1) p.width = 1;
  if (p.height < 1) p.height = 1;
  return p;
}

int clamp_print_zoom(int percent) {
  if (percent < kPrintZoomMin) return kPrintZoomMin;
  if (percent > kPrintZoomMax) return kPrintZoomMax;
  return percent;
}

int print_zoom_after(int percent, ScrollCode code, int thumb) {
  switch (code) {
    case ScrollCode::LineBack: percent -= 1; break;
    case ScrollCode::LineForward: percent += 1; break;
    case ScrollCode::PageBack: percent -= 10; break;
    case ScrollCode::PageForward: percent += 10; break;
    case ScrollCode::Thumb: percent = thumb; break;
    case ScrollCode::Start:  // the view's keys only; the slider sends none
    case ScrollCode::End:
    case ScrollCode::Other: break;
  }
  return clamp_print_zoom(percent);
}

}  // namespace viewer
