#include "frame/single_instance.h"

namespace frame {

void bring_forward(HWND running, const char* mainClass) {
  char cls[64] = {};
  if (!running || !GetClassNameA(running, cls, sizeof cls) || lstrcmpiA(cls, mainClass) != 0) return;
  const bool minimised = IsIconic(running) != FALSE;
  if (!minimised && !IsWindowVisible(running)) return;
  // The user started us, so this process may give the foreground away; the
  // running program could not take it by itself.
  const HWND popup = GetLastActivePopup(running);
  SetForegroundWindow(popup && IsWindowVisible(popup) ? popup : running);
  // Posted, not sent: a program that is busy must not hold up this one.
  if (minimised) PostMessageA(running, WM_SYSCOMMAND, SC_RESTORE, 0);
}

}  // namespace frame
