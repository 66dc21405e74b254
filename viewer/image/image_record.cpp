#include "viewer/image/image_record.h"

#include "formats/bmp_read.h"
#include "formats/bytes.h"
#include "viewer/image/image_messages.h"
#include "viewer/app/view.h"
#include "viewer/image/fit_logic.h"
#include "viewer/app/viewer_state.h"

namespace viewer {

ImageRecord g_image;

namespace {

fmt::bmp::FileHeader record_file_header() {
  fmt::bmp::FileHeader h;
  h.type = fmt::get_u16le(g_image.fileHeader);
  h.declared_size = fmt::get_u32le(g_image.fileHeader + 2);
  h.pixel_offset = fmt::get_u32le(g_image.fileHeader + 10);
  return h;
}

void show_read_error(HWND owner, fmt::bmp::BmpReadError error, unsigned type) {
  using fmt::bmp::BmpReadMessage;
  switch (fmt::bmp::message_for(error)) {
    case BmpReadMessage::FileHeaderNotRead:
      frame::show(owner, msg::kFileHeaderNotRead);
      break;
    case BmpReadMessage::BadMagicNumber:
      frame::show_f(owner, msg::kBadMagicNumber, type);
      break;
    case BmpReadMessage::InfoHeaderNotRead:
      frame::show(owner, msg::kInfoHeaderNotRead);
      break;
    case BmpReadMessage::IllegalStructureSize:
      frame::show(owner, msg::kIllegalStructureSize);
      break;
    case BmpReadMessage::None: break;
  }
}

}  // namespace

bool lock_image(HWND owner) {
  if (!g_image.dib) return false;
  uint8_t* block = static_cast<uint8_t*>(GlobalLock(g_image.dib));
  if (!block) return false;
  g_image.blockStart = g_image.infoHeader = block;
  // Only checked here: the block was brought into shape once, when it was read.
  fmt::bmp::DibLayout layout;
  const fmt::bmp::BmpReadError e =
      fmt::bmp::dib_layout(block, g_image.dibSize ? g_image.dibSize : GlobalSize(g_image.dib), record_file_header(),
                           &layout);
  if (e != fmt::bmp::BmpReadError::None) {
    // The pointers stay null: nothing may be drawn from a block that failed.
    g_image.colourTable = g_image.pixels = nullptr;
    show_read_error(owner, e, 0);
    return false;
  }
  g_image.colourTable = block + fmt::bmp::kInfoHeaderSize;
  g_image.pixels = block + layout.rows_offset;
  g_image.colourCount = static_cast<int>(layout.colour_count);
  return true;
}

void unlock_image() {
  if (g_image.dib && g_image.blockStart) GlobalUnlock(g_image.dib);
  g_image.blockStart = g_image.infoHeader = g_image.colourTable = g_image.pixels = nullptr;
}

void free_image() {
  if (g_image.dib) {
    if (g_image.blockStart) GlobalUnlock(g_image.dib);
    GlobalFree(g_image.dib);
  }
  g_image.dib = nullptr;
  g_image.dibSize = 0;
  g_image.blockStart = g_image.infoHeader = g_image.colourTable = g_image.pixels = nullptr;
  ZeroMemory(g_image.fileHeader, sizeof g_image.fileHeader);
}

void discard_current_image(HWND main) {
  if (g_image.displayKind == Splash) {
    if (g_splashDc) {
      SelectObject(g_splashDc, g_splashOldBitmap);
      DeleteDC(g_splashDc);
      DeleteObject(g_splashBitmap);
    }
    g_splashDc = nullptr;
    g_splashBitmap = nullptr;
  } else {
    free_image();
  }
  reset_view_for_load(main);
}

bool read_bmp(HWND owner, HANDLE file) {
  using fmt::bmp::BmpReadError;
  uint8_t head[fmt::bmp::kFileHeaderSize];
  DWORD got = 0;
  if (!ReadFile(file, head, sizeof head, &got, nullptr)) got = 0;
  fmt::bmp::FileHeader header;
  BmpReadError e = fmt::bmp::parse_file_header(head, got, &header);
  if (e != BmpReadError::None) {
    show_read_error(owner, e, header.type);
    return false;
  }
  for (size_t i = 0; i < sizeof head; ++i) g_image.fileHeader[i] = head[i];

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, header.block_size);
  if (!block) {
    frame::show(owner, msg::kNoSpaceForBitmap);
    return false;
  }
  g_image.dib = block;
  g_image.dibSize = header.block_size;
  ScopedBlockLock lock(block);
  uint8_t* bytes = lock.get();
  DWORD read = 0;
  e = BmpReadError::ShortRead;
  if (bytes && ReadFile(file, bytes, header.block_size, &read, nullptr) && read == header.block_size)
    e = fmt::bmp::finish_dib(bytes, header.block_size, header);
  lock.release();
  if (e != BmpReadError::None) {
    // A block that failed its checks is not kept: every later paint would
    // lock it again and repeat the message.
    show_read_error(owner, e, 0);
    free_image();
    return false;
  }
  return true;
}

bool open_bmp_file(HWND owner, const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    frame::show_f(owner, msg::kFileNotOpened, path);
    return false;
  }
  const bool ok = read_bmp(owner, file);
  CloseHandle(file);
  if (!ok) return false;
  if (lock_image(owner)) {
    g_image.width = static_cast<int>(fmt::get_i32le(g_image.infoHeader + fmt::bmp::kOffWidth));
    g_image.height = static_cast<int>(fmt::get_i32le(g_image.infoHeader + fmt::bmp::kOffHeight));
  }
  unlock_image();
  RECT client;
  GetClientRect(g_mainWindow ? g_mainWindow : owner, &client);
  g_image.view.zoomStep = fit_zoom_step(g_image.width, g_image.height, client.right, client.bottom,
                                        g_screen.vScrollWidth, g_screen.hScrollHeight);
  g_image.view.fitZoomStep = g_image.view.zoomStep;
  return true;
}

}  // namespace viewer
