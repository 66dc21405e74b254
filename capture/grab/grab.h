// The area capture: the Icon command, the full-screen capture window that
// shows a frozen copy of the screen with the dashed square over it, and what
// follows the release (the image in the main window, its reduction to the
// icon's colours and the save dialogue).
#pragma once
#include <windows.h>

#include "capture/grab/form_logic.h"

namespace capture {

// Value of the capture state once an image is held and shown.
constexpr int kCaptureStateCaptured = 1;

// What the capture uses of the program around it; the main window's code
// owns all of it and hands it over once both windows exist.
struct GrabContext {
  HWND main = nullptr;           // the main window (hidden during capture mode)
  HWND grab = nullptr;           // the full-screen capture window, class GRAB
  HCURSOR cross = nullptr;       // CURSOR_C
  int baseHeight = 0;            // SM_CYMIN + SM_CYMENU + 21
  int mainWidth = 135;
  IconForm* pending = nullptr;   // edited by the form dialog
  IconForm* current = nullptr;   // the form of the image held
  const int* frameColour = nullptr;
  int* captureState = nullptr;
};
void grab_attach(const GrabContext& context);

// Commands 101 and 111: hide the main window, freeze the screen, and let the
// user place the square.
void start_capture(HWND main);
// True while the capture window is up (the Icon command waits for the release).
bool in_capture_mode();

// Procedure of the GRAB window class.
LRESULT CALLBACK grab_window_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// The image held after a capture, N x N, in a memory DC (null before any).
HDC captured_image_dc();
// Frees the captured image and the reduced copy (at shutdown).
void free_captured_image();

// The icon file last written and the text that announced it.
const char* last_saved_path();
const char* saved_success_text();

}  // namespace capture
