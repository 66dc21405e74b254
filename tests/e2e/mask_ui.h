// The transparent-pixel tool as a person drives it: a capture of a known
// picture saved and answered Yes, real clicks on the enlarged view, the Tool
// dialog and the colour list, and what the view and the icon file show.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/capture_ui.h"
#include "resources/capture/resource.h"

namespace e2e {

constexpr int kToolOk = IDC_TOOL_OK, kToolCancel = IDC_TOOL_CANCEL, kToolFill = IDC_TOOL_FILL,
              kToolColours = IDC_TOOL_COLOUR;
constexpr int kPixelButton = IDC_FILL_PIXEL, kAreaButton = IDC_FILL_AREA;
constexpr const wchar_t* kFillTitle = L"Select a filling tool";
constexpr int kMaskPatternX = 300, kMaskPatternY = 200;

// The tool's picture, 16 x 16 and repeated: white ground; a red ring around
// a blue hole; a green diagonal (four pixels, not connected); one yellow
// pixel; a black column; a grey pair whose halves share one byte.
uint32_t mask_pattern(int x, int y);
// The N x N square of it a capture at its top-left corner takes, top row first.
std::vector<uint32_t> mask_square(int n);

// Captures the N x N square at the pattern's top-left corner, saves it at
// path and answers Yes to the transparent-pixel question; true once the
// tool's controls stand. The pattern window must be shown.
bool open_tool_on_capture(Program& p, const std::string& path, int n, int colours, bool japanese = false);

// The start every test of the tool shares: the pattern on the screen, the
// capture program started in the folder `name`, and the tool open on an
// N x N capture saved as the icon `path` in a fresh folder `dir`, whose bytes
// were `before` when the tool opened; the program is closed when it ends.
struct MaskSession {
  ~MaskSession() { p.close(); }
  PatternWindow pattern{kMaskPatternX, kMaskPatternY, 64, 64, mask_pattern};
  Program p;
  std::string dir, path;
  std::vector<uint8_t> before;
  ::testing::AssertionResult open(const std::string& name, int n, int colours, bool japanese = false);
};

// After a release: saves at path and answers Yes to the transparent-pixel
// question; true once the tool's controls stand.
bool save_and_open_tool(Program& p, const std::string& path, bool japanese = false);
// Waits for a box of the program by its wide caption, which must say text, and
// answers it with button (Japanese texts do not pass the narrow helpers).
::testing::AssertionResult answer_box(Program& p, const wchar_t* caption, const wchar_t* text, int button);

// The cell (column k, row j) of the view: a real click on its centre.
void click_cell(HWND main, int k, int j);
// What a cell shows: its 5 x 5 area, the mark colour with both diagonals in
// black when marked, else the pixel's colour.
bool cell_shows(const Pixels& client, int k, int j, uint32_t colour, bool marked);
// The colour marks are painted in until another is picked from the list.
constexpr uint32_t kFirstMarkColour = 0x008080;
// Waits until every cell of the view shows colours[j * n + k] and the marks.
::testing::AssertionResult view_is(HWND main, int n, const std::vector<uint32_t>& colours,
                                   const std::vector<uint8_t>& marks, uint32_t markColour = kFirstMarkColour);
// The expected icon after OK: AND bit set and index 0 for each mark (flags
// N x N, top row first), every other byte as before.
std::vector<uint8_t> with_marks(const std::vector<uint8_t>& before, int n, int colours,
                                const std::vector<uint8_t>& marks);
// Opens the fill tool dialog with the Tool button.
HWND open_fill_dialog(Program& p, const wchar_t* title = kFillTitle);
// Picks the pixel (false) or area (true) tool and confirms with OK.
bool choose_fill_tool(Program& p, bool area, const wchar_t* title = kFillTitle);
// Picks an item of the colour list with real clicks (open, click the item).
void pick_colour(HWND main, int item);
bool tool_open(HWND main);

}  // namespace e2e
