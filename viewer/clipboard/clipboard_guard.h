// The clipboard for one command: opened on first use with the main window
// as owner, closed when the guard goes.
#pragma once
#include <windows.h>

namespace viewer {

class ClipboardGuard {
 public:
  explicit ClipboardGuard(HWND owner) : owner_(owner) {}
  ~ClipboardGuard() {
    if (opened_) CloseClipboard();
  }
  ClipboardGuard(const ClipboardGuard&) = delete;
  ClipboardGuard& operator=(const ClipboardGuard&) = delete;

  HANDLE get(UINT format) { return open() ? GetClipboardData(format) : nullptr; }
  bool empty() { return open() && EmptyClipboard(); }
  // On success the clipboard owns data; on failure the caller still does.
  bool set(UINT format, HANDLE data) { return open() && SetClipboardData(format, data) != nullptr; }
  bool available(UINT format) { return open() && IsClipboardFormatAvailable(format); }

 private:
  bool open() {
    if (!opened_) opened_ = OpenClipboard(owner_) != 0;
    return opened_;
  }
  HWND owner_;
  bool opened_ = false;
};

}  // namespace viewer
