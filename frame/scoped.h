// Small guards that give back what a function took from the system on every
// way out of it: device contexts, selected and created GDI objects, kernel
// handles. None can be copied; each releases exactly once.
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
  explicit GdiObject(T object) : object_(object) {}
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

// Bits per pixel of the display, read each time (the mode may change while a
// program runs); 0 when the display cannot be asked.
inline int display_bits_per_pixel() {
  OwnDc ic(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
  return ic ? GetDeviceCaps(ic.get(), BITSPIXEL) : 0;
}

}  // namespace frame
