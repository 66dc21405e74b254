// Small guards that give back what a function took from the system on every
// way out of it: device contexts, selected and created GDI objects, kernel
// handles, global blocks and their locks, the wait cursor. None can be
// copied; each releases exactly once.
#pragma once
#include <windows.h>

namespace frame {

// GetDC / GetWindowDC, released with ReleaseDC.
class WindowDc {
 public:
  enum Area { Client, WholeWindow };
  explicit WindowDc(HWND w, Area area = Client) : w_(w), dc_(area == Client ? GetDC(w) : GetWindowDC(w)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND w_;
  HDC dc_;
};

// A DC of our own (CreateCompatibleDC, CreateICA), deleted with DeleteDC.
class OwnDc {
 public:
  explicit OwnDc(HDC dc) : dc_(dc) {}
  ~OwnDc() {
    if (dc_) DeleteDC(dc_);
  }
  OwnDc(const OwnDc&) = delete;
  OwnDc& operator=(const OwnDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A created GDI object (pen, brush, font, bitmap), deleted with DeleteObject.
// Declare it before the Selection that selects it, so that it is deselected
// first.
template <class T>
class GdiObject {
 public:
  explicit GdiObject(T object = nullptr) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  T get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Hands the object over to a new owner; the guard then deletes nothing.
  T release() {
    T o = object_;
    object_ = nullptr;
    return o;
  }
  // Deletes the object held and takes object instead.
  void reset(T object = nullptr) {
    if (object_) DeleteObject(object_);
    object_ = object;
  }

 private:
  T object_;
};

// SelectObject, put back as it was at the end of the scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  explicit operator bool() const { return old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A kernel handle, closed with CloseHandle (null and INVALID_HANDLE_VALUE hold nothing).
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

// A memory DC with a bitmap of its own selected into it: for pictures kept
// across calls (a start-up picture, a reduced view, a frozen screen). On
// release the old selection goes back first, then the DC and the bitmap are
// deleted. It may live in a program-wide record, so it can be emptied and
// filled again.
class MemoryDc {
 public:
  MemoryDc() = default;
  ~MemoryDc() { reset(); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  // Takes bitmap over (deleted here also when this fails) and selects it into
  // a new DC compatible with reference. False, holding nothing, on failure.
  bool take(HDC reference, HBITMAP bitmap) {
    reset();
    if (!bitmap) return false;
    bitmap_ = bitmap;
    dc_ = CreateCompatibleDC(reference);
    old_ = dc_ ? SelectObject(dc_, bitmap_) : nullptr;
    if (!old_) reset();
    return old_ != nullptr;
  }
  void reset() {
    if (dc_) {
      if (old_) SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
  }
  HDC get() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  explicit operator bool() const { return old_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// A movable global block (GlobalAlloc) and its lock. The lock is taken on the
// first lock() and given back by unlock(), reset() or the end of the owner;
// the block is freed unless release() handed it to a new owner (the
// clipboard).
class GlobalBlock {
 public:
  GlobalBlock() = default;
  explicit GlobalBlock(HGLOBAL block) : block_(block) {}
  ~GlobalBlock() { reset(); }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  GlobalBlock(GlobalBlock&& o) noexcept : block_(o.block_), address_(o.address_) {
    o.block_ = nullptr;
    o.address_ = nullptr;
  }
  GlobalBlock& operator=(GlobalBlock&& o) noexcept {
    if (this != &o) {
      reset();
      block_ = o.block_;
      address_ = o.address_;
      o.block_ = nullptr;
      o.address_ = nullptr;
    }
    return *this;
  }
  // A new block of bytes (GMEM_ZEROINIT in extraFlags clears it); false,
  // holding nothing, when the memory cannot be had.
  bool allocate(SIZE_T bytes, UINT extraFlags = 0) {
    reset(GlobalAlloc(GMEM_MOVEABLE | extraFlags, bytes));
    return block_ != nullptr;
  }
  // The block's address, locked once however often it is asked for; null
  // when there is no block or it cannot be locked.
  BYTE* lock() {
    if (!address_ && block_) address_ = static_cast<BYTE*>(GlobalLock(block_));
    return address_;
  }
  BYTE* locked() const { return address_; }
  void unlock() {
    if (address_) GlobalUnlock(block_);
    address_ = nullptr;
  }
  void reset(HGLOBAL block = nullptr) {
    unlock();
    if (block_) GlobalFree(block_);
    block_ = block;
  }
  // Hands the unlocked block to a new owner; the guard then frees nothing.
  HGLOBAL release() {
    unlock();
    HGLOBAL b = block_;
    block_ = nullptr;
    return b;
  }
  HGLOBAL get() const { return block_; }
  // What the system gave, which may be more than was asked for.
  SIZE_T size() const { return block_ ? GlobalSize(block_) : 0; }
  explicit operator bool() const { return block_ != nullptr; }

 private:
  HGLOBAL block_ = nullptr;
  BYTE* address_ = nullptr;
};

// The lock of a block someone else owns (clipboard data, a block already in
// a record), taken on first use and given back when the guard goes.
class BlockLock {
 public:
  explicit BlockLock(HGLOBAL block) : block_(block) {}
  ~BlockLock() { release(); }
  BlockLock(const BlockLock&) = delete;
  BlockLock& operator=(const BlockLock&) = delete;
  BYTE* get() {
    if (!address_ && block_) address_ = static_cast<BYTE*>(GlobalLock(block_));
    return address_;
  }
  SIZE_T size() const { return block_ ? GlobalSize(block_) : 0; }
  void release() {
    if (address_) GlobalUnlock(block_);
    address_ = nullptr;
  }

 private:
  HGLOBAL block_;
  BYTE* address_ = nullptr;
};

// The wait cursor for the length of a long operation: the arrow comes back
// when the guard goes, whichever way the operation ends.
class WaitCursor {
 public:
  WaitCursor() { resume(); }
  ~WaitCursor() { pause(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  // The arrow while a dialog asks the user something.
  void pause() { SetCursor(LoadCursor(nullptr, IDC_ARROW)); }
  void resume() { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }
};

// Bits per pixel of the display, read each time (the mode may change while a
// program runs); 0 when the display cannot be asked.
inline int display_bits_per_pixel() {
  OwnDc ic(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
  return ic ? GetDeviceCaps(ic.get(), BITSPIXEL) : 0;
}

}  // namespace frame
