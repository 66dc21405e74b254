#include "capture/grab/save_flow.h"

#include <cstring>
#include <string>

#include "capture/grab/grab.h"
#include "capture/grab/grab_logic.h"
#include "capture/grab/grab_messages.h"
#include "capture/grab/icon_build.h"
#include "capture/mask/mask_tool.h"
#include "frame/file_dialog.h"
#include "frame/os_style.h"

namespace capture {

namespace {

char g_savedPath[512];
std::string g_successText;

// The drive of the path's first three characters takes icon files when it is
// a fixed disk or a RAM disk; a path without a drive root (a network path
// such as \\server\share) is refused as well.
bool drive_accepted(const char* path) {
  char root[4] = {};
  for (int i = 0; i < 3 && path[i]; ++i) root[i] = path[i];
  const UINT type = GetDriveTypeA(root);
  return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

// The save dialog until the user picks a drive that is accepted; false when
// the dialog ends without a path (a dialog error has been shown then).
bool choose_path(HWND owner, char* path, DWORD capacity) {
  for (;;) {
    OPENFILENAMEA ofn =
        frame::file_dialog(owner, "Icons (*.ico)\0*.ico\0", path, capacity,
                           frame::tr("Assign an icon filename", "アイコン・ファイル名の指定"),
                           OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
    ofn.lpstrDefExt = "ico";
    if (!GetSaveFileNameA(&ofn)) {
      const DWORD error = CommDlgExtendedError();
      if (error != 0) frame::show_f(owner, msg::kSaveDialogError, static_cast<unsigned long>(error));
      return false;
    }
    if (drive_accepted(path)) return true;
    frame::show(owner, msg::kDriveRefused);
  }
}

}  // namespace

const char* last_saved_path() { return g_savedPath; }
const char* saved_success_text() { return g_successText.c_str(); }

void run_save_dialogue(HWND owner, const IconForm& form) {
  if (frame::show(owner, msg::kSaveQuestion) != IDYES) return;  // the reduced image stays for now
  char path[512];
  if (!choose_path(owner, path, sizeof path)) {
    release_reduced_image();
    return;
  }
  const bool written = write_icon_file(owner, path, form);
  release_reduced_image();
  if (!written) return;
  std::memcpy(g_savedPath, path, sizeof g_savedPath);
  g_successText = success_text(form.size, form.colourCount, japaneseUi != 0);
  if (frame::show(owner, msg::kTransparentQuestion) == IDYES) {
    open_mask_tool(owner, form);  // its OK or Cancel tells the success
    return;
  }
  frame::show_f(owner, msg::kSuccess, g_successText.c_str());
}

}  // namespace capture
