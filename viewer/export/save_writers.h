// The three writers of the save command. Each writes a new temporary file
// beside the target and replaces the target only when every byte is out;
// each shows its own message when it fails.
#pragma once
#include <windows.h>

#include <cstdint>

namespace viewer {

// Exact bytes of the file the writer for this origin would write now;
// false when the image cannot be read.
bool saved_file_size(int imageOrigin, uint64_t* size);

// True when the file was written and now stands at path.
bool write_tif(HWND owner, const char* path);
bool write_plain_bmp(HWND owner, const char* path);
// Also false, without a message, when the image is no longer the pasted one.
bool write_displayed_bmp(HWND owner, const char* path);

}  // namespace viewer
