#include <cstring>
#include <utility>
#include <vector>

#include "formats/dib_image.h"
#include "formats/paste_dib.h"
#include "frame/os_style.h"
#include "frame/scoped.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/clipboard/clipboard_guard.h"
#include "viewer/clipboard/clipboard_messages.h"
#include "viewer/clipboard/copy_command.h"
#include "viewer/image/image_messages.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

struct NewBlock {
  NewImage image;
  bool outOfMemory = false;
};

// A CF_DIB with a 40-byte header, brought into shape like a file's block.
NewBlock block_from_dib(ClipboardGuard& clipboard) {
  NewBlock r;
  HGLOBAL source = clipboard.get(CF_DIB);
  if (!source) return r;
  frame::BlockLock lock(source);
  const uint8_t* dib = lock.get();
  if (!dib) return r;
  const size_t size = lock.size();
  const fmt::bmp::NormalisePlan plan = fmt::bmp::plan_paste(dib, size);
  if (plan.error == fmt::bmp::BmpReadError::TooLarge) r.outOfMemory = true;
  if (plan.error != fmt::bmp::BmpReadError::None || plan.out_size > 0x7FFFFFFF) return r;
  frame::GlobalBlock block;
  if (!block.allocate(static_cast<SIZE_T>(plan.out_size))) {
    r.outOfMemory = true;
    return r;
  }
  const bool ok = block.lock() && fmt::bmp::normalise_into(dib, size, fmt::bmp::FileHeader{}, plan, block.lock(),
                                                            static_cast<size_t>(plan.out_size)) ==
                                      fmt::bmp::BmpReadError::None;
  if (!ok) return r;
  block.unlock();
  r.image.dib = std::move(block);
  r.image.dibSize = static_cast<size_t>(plan.out_size);
  return r;
}

// A CF_BITMAP drawn 1:1 into a 24-bit DIB.
NewBlock block_from_bitmap(HWND w, ClipboardGuard& clipboard) {
  NewBlock r;
  HBITMAP bitmap = static_cast<HBITMAP>(clipboard.get(CF_BITMAP));
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return r;
  const uint64_t stride = (uint64_t{static_cast<uint32_t>(bm.bmWidth)} * 3 + 3) / 4 * 4;
  const uint64_t bytes = 40 + stride * static_cast<uint32_t>(bm.bmHeight);
  frame::GlobalBlock block;
  if (bytes > 0x7FFFFFFF || !block.allocate(static_cast<SIZE_T>(bytes), GMEM_ZEROINIT)) {
    r.outOfMemory = true;
    return r;
  }
  uint8_t* out = block.lock();
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = bm.bmWidth;
  h.biHeight = bm.bmHeight;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(stride * static_cast<uint32_t>(bm.bmHeight));
  std::vector<uint8_t> info(40 + 4 * 256);
  std::memcpy(info.data(), &h, 40);
  frame::WindowDc windowDc(w);
  void* bits = nullptr;
  frame::GdiObject<HBITMAP> section(CreateDIBSection(
      windowDc.get(), reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0));
  frame::OwnDc source(CreateCompatibleDC(windowDc.get()));
  frame::OwnDc target(CreateCompatibleDC(windowDc.get()));
  if (!out || !source || !target || !section) return r;
  {
    // The clipboard's bitmap is only selected, never deleted: the clipboard owns it.
    frame::Selection fromClipboard(source.get(), bitmap);
    frame::Selection intoSection(target.get(), section.get());
    SetStretchBltMode(target.get(), COLORONCOLOR);
    BitBlt(target.get(), 0, 0, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, SRCCOPY);
  }
  // Read back once the section is out of the DC again.
  const bool ok = GetDIBits(windowDc.get(), section.get(), 0, static_cast<UINT>(bm.bmHeight), out + 40,
                            reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == bm.bmHeight;
  std::memcpy(out, &h, 40);
  if (!ok) return r;
  block.unlock();
  r.image.dib = std::move(block);
  r.image.dibSize = static_cast<size_t>(bytes);
  return r;
}

// The figures the savers, the printer and the extraction read, from the
// block itself: the table's entries and zeros after them.
void set_pasted_figures(const fmt::DibImage& image, size_t blockSize, fmt::bmp::ExportFigures* figures) {
  fmt::bmp::ExportFigures& f = *figures;
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
}

}  // namespace

void paste_command(HWND w) {
  // One guard for the whole paste: the clipboard's data stays valid until
  // the new image is in place.
  ClipboardGuard clipboard(w);
  const bool dib = clipboard.available(CF_DIB), bitmap = clipboard.available(CF_BITMAP);
  if (!dib && !bitmap) return;
  frame::WaitCursor busy;  // a large image takes its time to convert and draw
  NewBlock nb;
  if (dib) nb = block_from_dib(clipboard);
  if (!nb.image.dib && !nb.outOfMemory && bitmap) nb = block_from_bitmap(w, clipboard);
  fmt::DibImage image;
  const bool readable = nb.image.dib && nb.image.dib.lock() &&
                        fmt::dib_image_of(nb.image.dib.locked(), nb.image.dibSize, 0, &image);
  if (readable) {
    nb.image.figures = g_image.figures;  // entries past the table keep their values
    set_pasted_figures(image, nb.image.dibSize, &nb.image.figures);
  }
  nb.image.dib.unlock();
  // With no folder in it, the text stands in the caption where a file name would.
  const ShownAs as{Pasted, FromClipboard, frame::tr("(Pasted image)", "(貼り付け像)"), ""};
  if (readable && install(w, std::move(nb.image), as)) return;
  // The old image stays.
  busy.pause();
  frame::show(w, nb.outOfMemory ? msg::kNoBitmapMemory : msg::kIllegalStructureSize);
}

}  // namespace viewer
