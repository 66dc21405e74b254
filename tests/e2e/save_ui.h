// What the command tests need beside the harness: the viewer started on a
// file, the save dialog, the viewer's message boxes, the clipboard as
// another program uses it, and the Unix side's tools and file names.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/icon_files.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

namespace e2e {

constexpr int kCmdParameters = IDM_PARAMETERS;
constexpr int kCmdPaste = IDM_PASTE;
constexpr int kCmdCopy = IDM_COPY;
constexpr int kCmdSave = IDM_SAVE;
constexpr int kButtonSave = IDC_SAVE_BUTTON;
constexpr const char* kSaveDialogTitle = "Assign a filename to save.";

// Starts the viewer in a fresh folder, writes the file into a folder of its
// own and opens it through the dialog; that folder, or "" when a step failed
// or the caption does not come to "Kaldero - <fileName> [<ratio>".
std::string show_file(Program& p, const std::string& name, const std::string& fileName,
                      const std::vector<uint8_t>& bytes, const std::string& ratio = "1:1]");

// Waits for a message box of the program, answers it with `answer` and
// returns "caption: text"; "" when none came within ms.
std::string answered_message(const Program& p, int answer = IDOK, int ms = 10000);
// The text of a message box of pid with this caption, answered with OK; empty when none came.
std::wstring expect_wide_message(DWORD pid, const std::wstring& caption, int ms = 10000);
// Runs the save command and types path into the real save dialog; true
// once the dialog has gone.
bool save_with_dialog(Program& p, const std::string& path);
// Saves to path and returns the message that followed, answered with answer.
std::string save_answered(Program& p, const std::string& path, int answer = IDOK, int ms = 10000);
// What the viewer says after a save to path.
std::string saved_message(const std::string& path);
// Leaves a dialog by a button, or by its close box when id is 0; true once it has gone.
bool leave_dialog(HWND dlg, int id);

// The Unix path of a Windows path in single quotes for a shell command line ('' when Wine cannot say).
std::string quoted_unix_path(const std::string& windowsPath);
// Runs a shell command line on the Unix side, waits for it and returns its
// standard output and error together; ok tells whether it ended with 0.
std::string shell_output(const std::string& command, bool* ok = nullptr);

// Puts a bitmap on the clipboard as CF_BITMAP the way another program does
// (put_on_clipboard puts bytes of any format).
bool put_bitmap_on_clipboard(int width, int height, const std::function<uint32_t(int, int)>& colour);
std::vector<uint8_t> clipboard_data(UINT format);
bool empty_clipboard();

// A packed DIB: 40-byte header (or another size), table, rows as given.
std::vector<uint8_t> packed_dib(int width, int height, int bits, uint32_t compression,
                                const std::vector<uint32_t>& tableOrMasks, const std::vector<uint8_t>& rows,
                                uint32_t coloursUsed = 0, uint32_t headerSize = 40);

// The packed DIB of a BMP file: the file without its 14-byte head.
std::vector<uint8_t> dib_of(const std::vector<uint8_t>& bmpFile);

// The colour of pixel (x, y), y from the top, of a bottom-up packed DIB
// with a 40-byte header and BI_RGB rows of 4, 8, 24 or 32 bits, as 0xRRGGBB.
uint32_t dib_pixel(const std::vector<uint8_t>& dib, int x, int y);

}  // namespace e2e
