// The capture program as a person drives it: the form dialog, the Icon
// command, pressing, moving and releasing the mouse over a picture the driver
// shows, and the questions and save dialog that follow.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "resources/capture/resource.h"

namespace e2e {

constexpr int kMeridotForm = IDM_MENU_FORM;
constexpr int kMeridotIcon = IDM_MENU_ICON;
constexpr int kMeridotStrip = 21;  // the captured image starts this far down the client area
constexpr const char* kSaveIconTitle = "Assign an icon filename";
// Where most tests show the driver's picture (test_pattern) on the screen.
constexpr int kPatternX = 400, kPatternY = 250, kPatternSide = 200;

std::string meridot_exe();
// Starts the capture program in a fresh folder and waits for its main window.
bool start_meridot(Program& p, const std::string& dirName,
                   const std::vector<std::pair<std::string, std::string>>& env = {});
// The folder start_meridot(p, dirName) runs the program in.
std::string work_dir(const std::string& dirName);

// A picture of the driver's own on the screen, painted by a thread of its
// own so that it repaints whenever the capture program uncovers it.
class PatternWindow {
 public:
  // colour(x, y) as 0xRRGGBB for each pixel of the w x h window at (x, y).
  PatternWindow(int x, int y, int w, int h, std::function<uint32_t(int, int)> colour);
  ~PatternWindow();
  PatternWindow(const PatternWindow&) = delete;
  PatternWindow& operator=(const PatternWindow&) = delete;
  // The colour shown at screen pixel (sx, sy), which must lie in the window.
  uint32_t at(int sx, int sy) const;
  // Waits until the screen shows the picture exactly.
  bool shown(int ms = 5000) const;
  struct Impl;  // the window, its thread and what it paints

 private:
  std::unique_ptr<Impl> impl_;
  int x_, y_, w_, h_;
  std::vector<uint32_t> pixels_;
};

// Chooses the icon form, the orientation and the frame colour in the form
// dialog and confirms it.
bool set_form(Program& p, int n, int colours, int orientation = 0, int frameColour = 0);
// The Icon command; true once the capture window covers the screen.
bool enter_capture(Program& p);
HWND capture_window(DWORD pid);
// Presses the left button at from, moves through the points and releases at
// the last one (or keeps the button held when release is false).
void drag(POINT from, const std::vector<POINT>& through, bool release = true);
// The pointer pixel that takes the N x N square whose top-left pixel is (x0, y0).
POINT pointer_for(int n, int x0, int y0);
// In capture mode, takes that square: press on the pointer pixel, wander a
// little, come back and release there.
void take_square(int n, int x0, int y0);
// The Icon command, then take_square.
bool capture_square(Program& p, int n, int x0, int y0);
// Presses a key (down and up) as typed on the keyboard.
void type_key(WORD vk, WORD modifier = 0);

// After a release: answers the save question with Yes and types path into the
// save dialog, which it returns (nullptr when something else came).
HWND save_as(Program& p, const std::string& path);
// Answers the transparent-pixel question with No; the success text ("" when
// something else came).
std::string no_transparent_pixels(Program& p);
// Both, with the system's overwrite question confirmed when overwrite is set.
std::string save_capture(Program& p, const std::string& path, bool overwrite = false);
// "NxN/C color icon file\nhas been created.", as a save of the form reports it.
std::string created_text(int n, int colours);
// Declines saving.
bool decline_save(Program& p);

// The fixed palette of the icons (0xRRGGBB) and the indices a capture must
// give: the platform's own mapping of colours between entries (a blit of the
// pixels into a palette section of the driver), each palette colour itself.
std::vector<uint32_t> icon_palette(int colours);
std::vector<uint8_t> platform_indices(const std::vector<uint32_t>& rgb, int n, int colours);
// The XOR indices of an icon file, top row first.
std::vector<uint8_t> icon_indices(const std::vector<uint8_t>& file, int n, int bits);

// The driver's picture: every colour of the 256-colour palette in 4 x 4
// cells (top-left 64 x 64), a gradient of in-between colours right of it,
// and below an asymmetric mix with stripes of pure white and pure black.
uint32_t test_pattern(int x, int y);

// The colour the screen shows at (sx, sy) inside the picture at kPatternX, kPatternY.
uint32_t screen_colour(int sx, int sy);

// The pixels of square (x0, y0, N) as the capture takes them for an
// orientation, from what the pattern shows (black outside the screen).
std::vector<uint32_t> expected_square(const std::function<uint32_t(int, int)>& screen, int x0, int y0, int n,
                                      int orientation);
// Waits until the N x N image at row `top` of w's client area shows want (top
// row first); the number of pixels that still differ.
int image_differs(HWND w, int top, const std::vector<uint32_t>& want, int n);

}  // namespace e2e
