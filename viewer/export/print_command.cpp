#include "viewer/export/print_command.h"

#include "frame/scoped.h"
#include "viewer/export/print_messages.h"
#include "viewer/app/viewer_state.h"
#include "viewer/export/print_logic.h"
#include "viewer/export/print_zoom_dialog.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

void report_job_failure(HWND owner) {
  frame::show(owner, msg::kPrintJobNotStarted);
}

static_assert(sizeof(DOCINFOA) == 20, "the document information of a 32-bit program");
static_assert(sizeof(PRINTDLGA) == 66, "the print settings record of a 32-bit program");

// One page: the whole (locked) image stretched into the placement. False
// when the printer refused a step; the caller then aborts the job.
bool print_page(HDC printer, const PrintPlacement& at) {
  bool ok = StartPage(printer) > 0;
  if (ok) {
    SetStretchBltMode(printer, COLORONCOLOR);
    // The source is the whole image as its header gives it; the view's zoom
    // only decided the proportions above.
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(g_image.infoHeader);
    const int drawn = StretchDIBits(printer, at.x, at.y, at.width, at.height, 0, 0, header->biWidth,
                                    header->biHeight, g_image.pixels,
                                    reinterpret_cast<const BITMAPINFO*>(g_image.infoHeader), DIB_RGB_COLORS, SRCCOPY);
    // A page that the printer could not draw on would come out blank.
    ok = drawn != 0 && drawn != static_cast<int>(GDI_ERROR);
    ok = EndPage(printer) > 0 && ok;
  }
  return ok;
}

}  // namespace

void print_image(HWND main) {
  const Extent shown = printed_source_size(g_image.width, g_image.height, g_image.view.zoomStep);
  g_printSettings.hDC = nullptr;
  if (!PrintDlgA(&g_printSettings)) return;  // cancelled, or no printer: nothing to say
  // Deleted on every way out of the command.
  frame::OwnDc printer(g_printSettings.hDC);
  g_printSettings.hDC = nullptr;
  if (!printer) {
    report_job_failure(main);
    return;
  }
  HDC dc = printer.get();
  const PrinterPage page{GetDeviceCaps(dc, HORZSIZE), GetDeviceCaps(dc, VERTSIZE), GetDeviceCaps(dc, LOGPIXELSX),
                         GetDeviceCaps(dc, LOGPIXELSY)};
  const PrintPlacement at = print_placement(shown, page, printZoomPercent);
  if (at.width <= 0) {  // a printer context without a page size
    report_job_failure(main);
    return;
  }

  // The image is locked before the job starts: a block that cannot be drawn
  // then leaves no empty job behind.
  if (!lock_image()) {
    unlock_image();
    report_job_failure(main);
    return;
  }
  DOCINFOA doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = "Bitmap";
  if (StartDocA(dc, &doc) <= 0) {
    unlock_image();
    report_job_failure(main);
    return;
  }
  bool ok;
  {
    frame::WaitCursor busy;
    ok = print_page(dc, at);
    unlock_image();
    if (ok) ok = EndDoc(dc) > 0;
    if (!ok) AbortDoc(dc);
  }
  // A job that ends without its page printed is reported, not passed off
  // as printed.
  if (!ok) report_job_failure(main);
}

void print_command(HWND main) {
  if (print_zoom_dialog(main)) print_image(main);
}

}  // namespace viewer
