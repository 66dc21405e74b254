// The wait cursor for the length of a long operation: the arrow comes back
// when the guard goes, whichever way the operation ends.
#pragma once
#include <windows.h>

namespace viewer {

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

}  // namespace viewer
