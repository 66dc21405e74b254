#include "viewer/export/save_writers.h"

#include "formats/bmp_write.h"
#include "formats/dib_image.h"
#include "formats/dib_normalise.h"
#include "formats/tif_write.h"
#include "viewer/export/displayed_dib.h"
#include "viewer/export/replace_file.h"
#include "viewer/export/save_messages.h"
#include "viewer/export/tif_conditions.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

size_t block_size() { return g_image.dibSize ? g_image.dibSize : g_image.dib.size(); }
uint32_t file_pixel_offset() { return fmt::get_u32le(g_image.fileHeader + 10); }

// The image as the writers read it; the caller unlocks.
bool lock_dib(fmt::DibImage* image) {
  return lock_image() && fmt::dib_image_of(g_image.blockStart, block_size(), file_pixel_offset(), image);
}

// Writes with fill() into a pending file and puts it in place; reports a
// failed write, close or replace.
template <class Fill>
bool write_replacing(HWND owner, const char* path, PendingFile* file, Fill fill) {
  bool ok;
  {
    fmt::BufferedWriter out(pending_sink(file));
    ok = fill(out) && out.flush();
  }
  ok = ok && commit_pending_file(file, path);
  if (!ok) {
    abandon_pending_file(file);
    report_write_error(owner);
  }
  return ok;
}

}  // namespace

bool saved_file_size(int origin, uint64_t* size) {
  if (!g_image.dib) return false;
  if (origin == FromClipboard) {
    fmt::bmp::DisplayedLayout l;
    if (!current_displayed_layout(&l)) return false;
    *size = l.file_size;
    g_image.figures.bmp_file_size = l.file_size;
    return true;
  }
  fmt::DibImage image;
  const bool ok = lock_dib(&image);
  if (ok) {
    *size = origin == FromBmpFile
                ? fmt::tif::file_size(image, fmt::tif::choose_layout(image, tifAs16Bit == 1))
                : uint64_t{block_size()} + fmt::bmp::kFileHeaderSize;
  }
  unlock_image();
  return ok;
}

bool write_tif(HWND owner, const char* path) {
  fmt::DibImage image;
  if (!lock_dib(&image)) {
    unlock_image();
    return false;
  }
  // The colour table as it stands now decides: after a colour extraction
  // the filtered picture is what is saved.
  const fmt::tif::Layout layout = fmt::tif::choose_layout(image, tifAs16Bit == 1);
  const bool grey16 = layout == fmt::tif::Layout::Grey16;
  PendingFile file;
  if (fmt::tif::file_size(image, layout) > fmt::tif::kMaxFileSize || !begin_pending_file(path, &file)) {
    unlock_image();
    frame::show(owner, grey16 ? msg::kTif16NotCreated : msg::kTifNotCreated);
    return false;
  }
  frame::WaitCursor wait;
  const auto order = tifByteOrder == 1 ? fmt::tif::ByteOrder::Motorola : fmt::tif::ByteOrder::Intel;
  SYSTEMTIME now;
  GetLocalTime(&now);
  const uint32_t seed = fmt::tif::dither_seed(now.wMilliseconds, now.wSecond);
  const bool ok = write_replacing(owner, path, &file, [&](fmt::BufferedWriter& out) {
    const bool written = grey16 ? fmt::tif::write_grey16(image, order, seed, out)
                                : fmt::tif::write_palette_rgb(image, order, out);
    unlock_image();
    return written;
  });
  return ok;
}

bool write_plain_bmp(HWND owner, const char* path) {
  fmt::bmp::PlainCopy copy;
  PendingFile file;
  const bool readable = lock_image() &&
                        fmt::bmp::plain_copy_of(g_image.blockStart, block_size(), file_pixel_offset(), &copy);
  if (!readable || !begin_pending_file(path, &file)) {
    unlock_image();
    frame::show(owner, msg::kBmpNotCreated);
    return false;
  }
  frame::WaitCursor wait;
  return write_replacing(owner, path, &file, [&](fmt::BufferedWriter& out) {
    fmt::bmp::FileHeader header;
    header.type = fmt::bmp::kMagic;
    header.declared_size = copy.file_size;
    header.pixel_offset = copy.pixel_offset;
    uint8_t head[fmt::bmp::kFileHeaderSize];
    fmt::bmp::put_file_header(header, head);
    out.put(head, sizeof head);
    out.put(g_image.blockStart, copy.file_size - fmt::bmp::kFileHeaderSize);
    unlock_image();
    return true;
  });
}

bool write_displayed_bmp(HWND owner, const char* path) {
  if (g_image.displayKind != Pasted || !g_image.dib) return false;
  fmt::bmp::DisplayedLayout l;
  frame::GlobalBlock dib;
  if (current_displayed_layout(&l)) {
    g_image.figures.bmp_file_size = l.file_size;
    dib = render_displayed_dib(owner, l);
  }
  PendingFile file;
  if (!dib || !begin_pending_file(path, &file)) {
    frame::show(owner, msg::kAssignedFileNotCreated);
    return false;
  }
  return write_replacing(owner, path, &file, [&](fmt::BufferedWriter& out) {
    const uint8_t* bytes = dib.lock();
    if (!bytes) return false;
    fmt::bmp::FileHeader header;
    header.type = fmt::bmp::kMagic;
    header.declared_size = static_cast<uint32_t>(l.file_size);
    header.pixel_offset = 54 + 4 * l.colours;
    uint8_t head[fmt::bmp::kFileHeaderSize];
    fmt::bmp::put_file_header(header, head);
    out.put(head, sizeof head);
    out.put(bytes, static_cast<size_t>(l.dib_bytes));
    return true;
  });
}

}  // namespace viewer
