// What the save, copy and paste tests need beside the harness: the save
// dialog, the viewer's message boxes, the clipboard as another program
// uses it, and the machine's own TIFF readers.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e {

constexpr int kCmdParameters = 100;
constexpr int kCmdPaste = 102;
constexpr int kCmdCopy = 106;
constexpr int kCmdSave = 107;
constexpr int kButtonSave = 0x79;
constexpr const char* kSaveDialogTitle = "Assign a filename to save.";

// Waits for a message box of the program, answers it with `answer` and
// returns "caption: text"; "" when none came within ms.
std::string answered_message(const Program& p, int answer = IDOK, int ms = 10000);
// Runs the save command and types path into the real save dialog; true
// once the dialog has gone.
bool save_with_dialog(Program& p, const std::string& path);

// Runs a shell command line on the machine (unix_path of print_pages.h
// gives the machine's name of a file) and returns its standard output
// and error together.
std::string shell_output(const std::string& command);

// Puts data on the clipboard as one format (or a bitmap as CF_BITMAP) the
// way another program does; the clipboard then belongs to the driver.
bool put_on_clipboard(UINT format, const std::vector<uint8_t>& data);
bool put_bitmap_on_clipboard(int width, int height, const std::vector<uint32_t>& rgbTopDown);
std::vector<uint8_t> clipboard_data(UINT format);

// A packed DIB: 40-byte header (or another size), table, rows as given.
std::vector<uint8_t> packed_dib(int width, int height, int bits, uint32_t compression,
                                const std::vector<uint32_t>& tableOrMasks, const std::vector<uint8_t>& rows,
                                uint32_t coloursUsed = 0, uint32_t headerSize = 40);

// The colour of pixel (x, y), y from the top, of a bottom-up packed DIB
// with a 40-byte header and BI_RGB rows, as 0xRRGGBB.
uint32_t dib_pixel(const std::vector<uint8_t>& dib, int x, int y);

}  // namespace e2e
