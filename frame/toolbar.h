// The strip of owner-drawn bitmap buttons at the top of a main window, and
// the hints drawn beside it. The frame holds the mechanism; each program
// hands in its rules: its button table (the one place the buttons' geometry
// is written down), where the buttons sit, which bitmap set a UiStyle takes,
// and where the hints go.
#pragma once
#include <windows.h>

#include "frame/hint_logic.h"

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

enum class HintPlacement { BelowToolbar, AboveToolbar };

struct ToolbarRules {
  const ToolButton* buttons = nullptr;  // must outlive the tool bar
  int count = 0;
  int buttonTop = -1;  // buttons' top edge: SM_CYBORDER plus this
  int hintRows = kButtonHeight;  // rows from SM_CYBORDER down in which hints appear
  bool topLine = false;  // a black line along the bar's top after each button is drawn
  HintPlacement hints = HintPlacement::BelowToolbar;
  const char* (*setSuffix)(int uiStyle) = nullptr;  // null: the viewer's sets
  UINT classStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  // The viewer's class shows the arrow; the capture program's has no cursor
  // of its own, so the strip keeps the cursor the pointer brings.
  bool arrowCursor = true;
};

// The viewer's rules with this table.
void set_tool_buttons(const ToolButton* table, int count);
void set_toolbar_rules(const ToolbarRules& rules);
bool register_toolbar_class(HINSTANCE instance);
HWND create_toolbar(HINSTANCE instance, HWND parent, int width, int height);

// A button's rectangle in the tool bar's client coordinates (empty for an id
// not in the table); right and bottom are outside the button.
RECT button_rect(int id);

// Called after the default handling of every WM_SETCURSOR of the main window.
void update_hint(HWND mainWindow);
// Called before every command: the hint must not stay over a dialog.
void erase_hint(HWND mainWindow);
// Which hint is drawn: 0 none, otherwise the button's position in the table.
int hint_state();
// Frees the saved-pixel buffer of the hints; called at shutdown.
void release_hint_buffer();

}  // namespace frame
