// The capture program's own window as a person sees it: its tool bar, menu,
// form dialog, the INI beside the program and the desktop settings it
// touches. The capture itself is driven through capture_ui.h.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"
#include "resources/capture/resource.h"

namespace e2e {

constexpr int kMeridotFormButton = IDC_STRIP_FORM;
constexpr int kMeridotIconButton = IDC_STRIP_ICON;
constexpr int kMeridotAboutButton = IDC_STRIP_ABOUT;
constexpr int kMeridotSpaceButton = IDC_STRIP_SPACE;
constexpr const char* kFormDialogTitle = "Select an Icon Form";
constexpr const wchar_t* kFormDialogTitleJa = L"アイコン形式の設定";

// Starts MERIDOT5.EXE from exe (the built one or a copy) in dir and waits
// until its tool bar stands.
bool start_meridot_in(Program& p, const std::string& exe, const std::string& dir,
                      const std::vector<std::pair<std::string, std::string>>& env = {});
HWND meridot_button(HWND main, int id);
// Posts msg to the main window (the menu's Exit unless told); true once the
// program has ended with exit code 0.
bool ends_cleanly(Program& p, UINT msg = WM_COMMAND, WPARAM wp = IDM_MENU_EXIT);

// SM_CYMIN + SM_CYMENU + 21: the main window is this plus N high.
int meridot_base_height();

// Opens the form dialog with the Form command and waits for it.
HWND open_form_dialog(Program& p, bool japanese = false);
// Clicks a control of a dialog as BM_CLICK does (the dialog gets BN_CLICKED).
void click_control(HWND dialog, int id);
// The checked button of each group: size, colours, orientation, frame.
std::vector<int> checked_buttons(HWND dialog);

// Desktop settings as a program starting now reads them
// (SPI_GETDESKWALLPAPER, SPI_GETSCREENSAVEACTIVE).
struct DesktopSettings {
  bool read = false;
  bool screenSaverActive = false;
  std::string wallpaper;
};
DesktopSettings desktop_settings();
// Sets them as a user's control panel does (stored in the profile).
void set_desk_wallpaper(const std::string& path);
void set_screen_saver_active(bool on);

// The texts of a menu of the program's resources: the popup's title, then its
// items as "id text" ("" for separators). (Under Wine a menu of another
// process cannot be read through its window.)
std::vector<std::wstring> menu_texts(const char* name);
// Gives a command of the menu bar with the keyboard (Alt+M, then key).
void menu_command(Program& p, WORD key);
// Opens the form dialog through the menu bar with the keyboard (Alt+M, F).
HWND form_dialog_from_menu(Program& p, bool japanese = false);
// A key typed on the keyboard, with a modifier held.
void type_key_press(WORD vk, WORD modifier = 0);

}  // namespace e2e
