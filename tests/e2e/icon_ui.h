// Helpers of the icon tests: icon pictures with known pixels, opening a file
// through the real open dialog, comparing the view with a picture, the colour
// dialog for masked pixels, icons drawn by the system, and the viewer's
// temporary bitmaps.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/icon_files.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

namespace e2e {

inline constexpr int kColourList = IDC_COLOUR_LIST;
inline const wchar_t* kOpenTitle = L"Select a bitmap or an icon file to open.";
inline const wchar_t* kOpenTitleJa = L"Bitmap または Icon ファイルの選択";
inline const char* kColourTitle = "Color Selection";

// The dialog's list in its order, as 0xRRGGBB.
inline constexpr uint32_t kListColours[8] = {0x008080, 0x008000, 0x000080, 0x808000,
                                      0x800080, 0x800000, 0xFFFFFF, 0x000000};
inline constexpr uint32_t kDarkCyan = kListColours[0];
inline constexpr int kWhiteItem = 6, kBlackItem = 7;

IconPicture picture(int w, int h, int bits, std::vector<uint32_t> palette,
                    const std::function<uint32_t(int, int)>& pixel,
                    const std::function<bool(int, int)>& masked = nullptr);
// Sixteen colours none of which the colour dialog offers.
std::vector<uint32_t> sixteen_colours();
// Asymmetric patterns, so that a flipped, shifted or mirrored image shows.
IconPicture two_colour(bool withMask);
IconPicture sixteen(bool withMask);
// Its pixels use entries below 199 only: entry 200 may show only where a pixel is masked.
IconPicture two_five_six(const std::vector<uint32_t>& palette, bool withMask);
std::vector<uint32_t> vivid_256();
IconPicture true_colour(bool withMask);

std::string write_icon(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes);
// Runs the open command and types path into its dialog.
void choose_file(Program& p, const std::string& path, const wchar_t* dialogTitle = kOpenTitle);
std::string caption_for(const std::string& name);
bool wait_caption(Program& p, const std::string& caption);
// Painting follows the last message handled: polls until the view settles.
::testing::AssertionResult view_shows(HWND main, const IconPicture& pic, uint32_t maskShown);

int selected_item(HWND dlg);
// As the list reports a change of selection to its dialog.
void select_item(HWND dlg, int item);
// The colour drawn in the middle of the list's selection field.
uint32_t selection_field_colour(HWND dlg);
// Drops the list down with the mouse, checks that every visible item shows
// its colour, saves a screenshot and clicks the item.
void pick_with_mouse(Program& p, HWND dlg, int item, const std::string& shot);

// An icon file drawn by the system's own icon code on a plain background,
// as 0xRRGGBB pixels, top row first; empty when the system refuses it.
std::vector<uint32_t> draw_icon(const std::vector<uint8_t>& ico, int w, int h, uint32_t background);

// The viewer's temporary bitmaps ("*.___") in the temporary folder.
std::set<std::string> temporary_bitmaps();
void remove_temporary_bitmaps(const std::string& prefix);
// A file's last write time in 100 ns ticks, and setting it to a day of another year.
uint64_t write_time(const std::string& path);
bool set_write_time(const std::string& path, WORD year);

}  // namespace e2e
