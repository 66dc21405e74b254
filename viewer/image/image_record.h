// The viewer's one current image: a packed DIB in a movable global block,
// with the view state and the figures the other commands read from it.
#pragma once
#include <windows.h>

#include <cstdint>

#include "formats/bmp_scan.h"

namespace viewer {

enum DisplayKind { Unset = -1, Splash = 0, BmpFile = 1, IconFile = 2, Pasted = 3, MakeIconBitmap = 5 };
enum ImageOrigin { FromBmpFile = 0, FromIcon = 1, FromClipboard = 2 };

struct ViewState {
  int zoomStep = 0;
  int fitZoomStep = 0;
  int zoomFactor = 1;
  int scrollX = 0, scrollY = 0;
  int lastScrollX = 0, lastScrollY = 0;
  int hBarVisible = 0, vBarVisible = 0;
  // Visibility of the vertical bar now and when the extraction dialog last moved.
  int vBarVisibleNow = 0, vBarVisibleAtLastMove = 0;
};

struct ImageRecord {
  HGLOBAL dib = nullptr;
  // Bytes of the block that hold the image: a global block may be larger than
  // asked for, and its slack must never pass for pixels.
  size_t dibSize = 0;
  // The file header last read; for a file converted at load (bitfields,
  // RLE) the one that describes the converted block, not the file.
  uint8_t fileHeader[14] = {};
  bool converted = false;  // the block was converted from the file at load
  // Lock pointers, null while unlocked.
  uint8_t* blockStart = nullptr;
  uint8_t* infoHeader = nullptr;
  uint8_t* colourTable = nullptr;
  uint8_t* pixels = nullptr;
  int colourCount = 0;
  int width = 0, height = 0;
  int displayKind = Unset;
  int imageOrigin = FromBmpFile;
  ViewState view;
  // Figures the savers, the printer and the extraction read; set by the loaders.
  fmt::bmp::ExportFigures figures;
  int figureBitsPerPixel = 0;
  // Colour-extraction copy: info header and 24-bit rows of an image without colour table.
  HGLOBAL extractCopy = nullptr;
  uint8_t* extractCopyPtr = nullptr;
  int currentExtraction = 0, confirmedExtraction = 0;
};

extern ImageRecord g_image;

// Locks the block and derives the pointers; false (with the message shown)
// when the info header is not one the viewer reads. The caller unlocks.
bool lock_image(HWND owner);
void unlock_image();
void free_image();
// Releases the current image or start-up picture and resets the view.
void discard_current_image(HWND mainWindow);
// Opens a file for reading the way a viewer should: other programs may have
// it open for reading or writing (an editor holding the image).
HANDLE open_for_reading(const char* path);
// Reads a BMP file from an open handle, at its current position, into the
// record. Bitfield and RLE files are converted into plain rows here, once;
// their export figures then come from the converted block.
bool read_bmp(HWND owner, HANDLE file);
// Opens a BMP file by path, reads it and picks the zoom that fits the window.
bool open_bmp_file(HWND owner, const char* path);
// The same for a file the caller already has open; it is read from its start.
bool load_bmp_file(HWND owner, HANDLE file);

// Locks a global block on first use and unlocks it when it goes.
class ScopedBlockLock {
 public:
  explicit ScopedBlockLock(HGLOBAL block) : block_(block) {}
  ~ScopedBlockLock() { release(); }
  ScopedBlockLock(const ScopedBlockLock&) = delete;
  ScopedBlockLock& operator=(const ScopedBlockLock&) = delete;
  uint8_t* get() {
    if (!address_ && block_) address_ = static_cast<uint8_t*>(GlobalLock(block_));
    return address_;
  }
  SIZE_T size() const { return block_ ? GlobalSize(block_) : 0; }
  void release() {
    if (address_) GlobalUnlock(block_);
    address_ = nullptr;
  }

 private:
  HGLOBAL block_;
  uint8_t* address_ = nullptr;
};

}  // namespace viewer
