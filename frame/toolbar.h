// The strip of owner-drawn bitmap buttons at the top of a main window, and
// the hints drawn under it. Each program hands in its own button table.
#pragma once
#include <windows.h>

namespace frame {

struct ToolButton {
  int id;               // control id
  const char* base;     // bitmap base name, e.g. "Open"
  int x, width;         // width 0: to the screen's right edge
  bool enabledAtStart;
  int command;          // 0: a filler that sends nothing
  const char* hintEn;   // null: no hint
  const char* hintJa;
};

// The table must outlive the tool bar.
void set_tool_buttons(const ToolButton* table, int count);
bool register_toolbar_class(HINSTANCE instance);
HWND create_toolbar(HINSTANCE instance, HWND parent, int width, int height);

// Called after the default handling of every WM_SETCURSOR of the main window.
void update_hint(HWND mainWindow);
// Called before every command: the hint must not stay over a dialog.
void erase_hint(HWND mainWindow);
// Which hint is drawn: 0 none, otherwise the button's position in the table.
int hint_state();
// Frees the saved-pixel buffer of the hints; called at shutdown.
void release_hint_buffer();

}  // namespace frame
