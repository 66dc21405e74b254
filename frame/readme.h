// The readme document that ships beside each program, opened with whatever
// program the shell associates with PDF documents.
#pragma once
#include <windows.h>

namespace frame {

// path: the readme's full path; name: its file name as the messages show it
// ("KALDERO5.PDF"). The messages are the same in both UI languages.
void open_readme(HWND owner, const char* path, const char* name);

}  // namespace frame
