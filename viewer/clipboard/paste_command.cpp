#include <cstring>
#include <vector>

#include "formats/dib_image.h"
#include "frame/os_style.h"
#include "formats/paste_dib.h"
#include "viewer/app/messages.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/clipboard/clipboard_guard.h"
#include "viewer/clipboard/copy_command.h"
#include "viewer/extract/extraction.h"
#include "viewer/image/fit_logic.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

struct NewBlock {
  HGLOBAL block = nullptr;
  size_t size = 0;
  bool outOfMemory = false;
};

// A CF_DIB, brought into shape like a file's block.
NewBlock block_from_dib(ClipboardGuard& clipboard) {
  NewBlock r;
  HGLOBAL source = clipboard.get(CF_DIB);
  if (!source) return r;
  ScopedBlockLock lock(source);
  const uint8_t* dib = lock.get();
  if (!dib) return r;
  const size_t size = lock.size();
  const fmt::bmp::NormalisePlan plan = fmt::bmp::plan_paste(dib, size);
  if (plan.error == fmt::bmp::BmpReadError::TooLarge) r.outOfMemory = true;
  if (plan.error != fmt::bmp::BmpReadError::None || plan.out_size > 0x7FFFFFFF) return r;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(plan.out_size));
  if (!block) {
    r.outOfMemory = true;
    return r;
  }
  ScopedBlockLock out(block);
  const bool ok = out.get() && fmt::bmp::normalise_into(dib, size, fmt::bmp::FileHeader{}, plan, out.get(),
                                                         static_cast<size_t>(plan.out_size)) ==
                                   fmt::bmp::BmpReadError::None;
  out.release();
  if (!ok) {
    GlobalFree(block);
    return r;
  }
  r.block = block;
  r.size = static_cast<size_t>(plan.out_size);
  return r;
}

// Whether the CF_BITMAP may stand in for a CF_DIB paste could not take: the
// system builds it from the DIB's block without checking it, so it is used
// only when the producer put it there or the DIB stays inside its block.
bool bitmap_may_stand_in(ClipboardGuard& clipboard, bool dib) {
  fmt::bmp::NormalisePlan plan;
  plan.error = fmt::bmp::BmpReadError::BadInfoSize;
  bool consistent = false;
  if (dib) {
    ScopedBlockLock lock(clipboard.get(CF_DIB));
    if (lock.get()) {
      plan = fmt::bmp::plan_paste(lock.get(), lock.size());
      consistent = fmt::bmp::dib_is_self_consistent(lock.get(), lock.size());
    }
  }
  std::vector<unsigned> formats;  // the clipboard is open: the guard asked for CF_DIB
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
  return fmt::bmp::choose_paste_source(dib, plan, consistent, true, fmt::bmp::producer_offered_bitmap(formats)) ==
         fmt::bmp::PasteSource::Bitmap;
}

// A CF_BITMAP drawn 1:1 into a 24-bit DIB.
NewBlock block_from_bitmap(HWND w, ClipboardGuard& clipboard) {
  NewBlock r;
  HBITMAP bitmap = static_cast<HBITMAP>(clipboard.get(CF_BITMAP));
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return r;
  const uint64_t stride = (uint64_t{static_cast<uint32_t>(bm.bmWidth)} * 3 + 3) / 4 * 4;
  const uint64_t bytes = 40 + stride * static_cast<uint32_t>(bm.bmHeight);
  HGLOBAL block = bytes <= 0x7FFFFFFF ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes)) : nullptr;
  if (!block) {
    r.outOfMemory = true;
    return r;
  }
  auto* out = static_cast<uint8_t*>(GlobalLock(block));
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = bm.bmWidth;
  h.biHeight = bm.bmHeight;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(stride * static_cast<uint32_t>(bm.bmHeight));
  bool ok = false;
  HDC windowDc = GetDC(w);
  HDC source = CreateCompatibleDC(windowDc);
  HDC target = CreateCompatibleDC(windowDc);
  void* bits = nullptr;
  std::vector<uint8_t> info(40 + 4 * 256);
  std::memcpy(info.data(), &h, 40);
  HBITMAP section = CreateDIBSection(windowDc, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                                     nullptr, 0);
  if (out && source && target && section) {
    HGDIOBJ oldSource = SelectObject(source, bitmap);
    HGDIOBJ oldTarget = SelectObject(target, section);
    SetStretchBltMode(target, COLORONCOLOR);
    BitBlt(target, 0, 0, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(target, oldTarget);
    SelectObject(source, oldSource);
    ok = GetDIBits(windowDc, section, 0, static_cast<UINT>(bm.bmHeight), out + 40,
                   reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == bm.bmHeight;
    std::memcpy(out, &h, 40);
  }
  if (section) DeleteObject(section);
  if (target) DeleteDC(target);
  if (source) DeleteDC(source);
  ReleaseDC(w, windowDc);
  if (out) GlobalUnlock(block);
  if (!ok) {
    GlobalFree(block);
    return r;
  }
  r.block = block;
  r.size = static_cast<size_t>(bytes);
  return r;
}

// The figures the savers, the printer and the extraction read, from the
// block itself: the table's entries and zeros after them.
void set_pasted_figures(const fmt::DibImage& image, size_t blockSize) {
  fmt::bmp::ExportFigures& f = g_image.figures;
  f.width = static_cast<int32_t>(image.width);
  f.height = static_cast<int32_t>(image.height);
  f.palette_size = image.bit_count <= 8 ? uint32_t{1} << image.bit_count : 0;
  f.grey_entries = 0;
  for (uint32_t i = 0; i < f.palette_size; ++i) {
    if (i < image.table_entries) {
      const uint8_t* e = image.table + 4 * i;
      f.palette[i] = {e[0], e[1], e[2]};
      if (e[0] == e[1] && e[1] == e[2]) ++f.grey_entries;
    } else {
      f.palette[i] = {};
    }
  }
  f.image_size = static_cast<uint32_t>(image.stride * image.height);
  f.padded_row_length = static_cast<uint32_t>(image.stride);
  f.unpadded_row_length = image.bit_count == 1 ? (image.width + 7) / 8
                          : image.bit_count == 4 ? (image.width + 1) / 2
                                                 : image.width;
  f.bmp_file_size = blockSize + 14;
  g_image.figureBitsPerPixel = static_cast<int>(image.bit_count);
}

void install_pasted(HWND w, const NewBlock& nb) {
  discard_current_image(w);
  g_image.dib = nb.block;
  g_image.dibSize = nb.size;
  {
    ScopedBlockLock lock(nb.block);
    fmt::DibImage image;
    if (lock.get() && fmt::dib_image_of(lock.get(), nb.size, 0, &image)) {
      g_image.width = static_cast<int>(image.width);
      g_image.height = static_cast<int>(image.height);
      set_pasted_figures(image, nb.size);
    }
  }
  RECT client;
  GetClientRect(w, &client);
  g_image.view.zoomStep = fit_zoom_step(g_image.width, g_image.height, client.right, client.bottom,
                                        g_screen.vScrollWidth, g_screen.hScrollHeight);
  g_image.view.fitZoomStep = g_image.view.zoomStep;
  g_image.displayKind = Pasted;
  g_image.imageOrigin = FromClipboard;
  recompute_zoom_factor();
  layout_scroll_bars(w);
  g_image.view.vBarVisibleNow = g_image.view.vBarVisible;
  redraw_view(w, false);
  // With no folder in it, the text stands in the caption where a file name would.
  set_caption_from_path(w, japaneseUi ? "(貼り付け像)" : "(Pasted image)");
  extraction_reset();
  if (g_image.figures.palette_size == 0) extraction_make_copy(w);
}

}  // namespace

void paste_command(HWND w) {
  // One guard for the whole paste: the clipboard's data stays valid until
  // the new image is in place.
  ClipboardGuard clipboard(w);
  const bool dib = clipboard.available(CF_DIB), bitmap = clipboard.available(CF_BITMAP);
  if (!dib && !bitmap) return;
  NewBlock nb;
  if (dib) nb = block_from_dib(clipboard);
  if (!nb.block && !nb.outOfMemory && bitmap && bitmap_may_stand_in(clipboard, dib))
    nb = block_from_bitmap(w, clipboard);
  if (!nb.block) {
    // The old image stays.
    if (nb.outOfMemory)
      message(w, MB_OK | MB_ICONERROR, "Unable to allocate bitmap memory.", "Error",
              "ビットマップのメモリを確保できません.", "エラー");
    else
      message(w, MB_OK | MB_ICONERROR, "Illegal structure size is found in info header.", "Error",
              "ビットマップのファイル構造ではありません.", "エラー");
    return;
  }
  install_pasted(w, nb);
}

}  // namespace viewer
