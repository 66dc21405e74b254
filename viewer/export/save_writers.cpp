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

void put_file_header(fmt::BufferedWriter& out, uint32_t fileSize, uint32_t pixelOffset) {
  fmt::bmp::FileHeader header;
  header.type = fmt::bmp::kMagic;
  header.declared_size = fileSize;
  header.pixel_offset = pixelOffset;
  uint8_t head[fmt::bmp::kFileHeaderSize];
  fmt::bmp::put_file_header(header, head);
  out.put(head, sizeof head);
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
  const frame::Message& notCreated = layout == fmt::tif::Layout::Grey16 ? msg::kTif16NotCreated
                                                                        : msg::kTifNotCreated;
  if (fmt::tif::file_size(image, layout) > fmt::tif::kMaxFileSize) {
    unlock_image();
    frame::show(owner, notCreated);
    return false;
  }
  frame::WaitCursor wait;
  const auto order = tifByteOrder == 1 ? fmt::tif::ByteOrder::Motorola : fmt::tif::ByteOrder::Intel;
  SYSTEMTIME now;
  GetLocalTime(&now);
  const uint32_t seed = fmt::tif::dither_seed(now.wMilliseconds, now.wSecond);
  const frame::ReplaceFailure failure = frame::replace_file(path, kTempPrefix, [&](fmt::BufferedWriter& out) {
    return layout == fmt::tif::Layout::Grey16 ? fmt::tif::write_grey16(image, order, seed, out)
                                              : fmt::tif::write_palette_rgb(image, order, out);
  });
  unlock_image();
  report_save_failure(owner, failure, notCreated);
  return failure == frame::ReplaceFailure::None;
}

bool write_plain_bmp(HWND owner, const char* path) {
  fmt::bmp::PlainCopy copy;
  const bool readable = lock_image() &&
                        fmt::bmp::plain_copy_of(g_image.blockStart, block_size(), file_pixel_offset(), &copy);
  if (!readable) {
    unlock_image();
    frame::show(owner, msg::kBmpNotCreated);
    return false;
  }
  frame::WaitCursor wait;
  const bool saved = save_replacing(owner, path, msg::kBmpNotCreated, [&](fmt::BufferedWriter& out) {
    put_file_header(out, copy.file_size, copy.pixel_offset);
    out.put(g_image.blockStart, copy.file_size - fmt::bmp::kFileHeaderSize);
    return true;
  });
  unlock_image();
  return saved;
}

bool write_displayed_bmp(HWND owner, const char* path) {
  if (g_image.displayKind != Pasted || !g_image.dib) return false;
  fmt::bmp::DisplayedLayout l;
  frame::GlobalBlock dib;
  if (current_displayed_layout(&l)) {
    g_image.figures.bmp_file_size = l.file_size;
    dib = render_displayed_dib(owner, l);
  }
  if (!dib) {
    frame::show(owner, msg::kAssignedFileNotCreated);
    return false;
  }
  const bool saved = save_replacing(owner, path, msg::kAssignedFileNotCreated, [&](fmt::BufferedWriter& out) {
    const uint8_t* bytes = dib.lock();
    if (!bytes) return false;
    put_file_header(out, static_cast<uint32_t>(l.file_size), 54 + 4 * l.colours);
    out.put(bytes, static_cast<size_t>(l.dib_bytes));
    return true;
  });
  return saved;
}

}  // namespace viewer
