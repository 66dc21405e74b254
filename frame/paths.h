// Path rules of frame/path_logic.h under the code page of the running system.
#pragma once
#include <cstddef>

namespace frame {

bool is_lead_byte(unsigned char c);  // IsDBCSLeadByte
const char* file_name_in(const char* path);

// Full path of the program file by its own name: the file the system's search
// path finds under exeName ("MERIDOT5.EXE"), or, for a renamed program, that
// name in the running program's folder, so that the files named after it
// (INI, readme) are looked for beside it. False when the path does not fit.
bool program_file_path(const char* exeName, char* out, size_t outSize);

// The readme beside the program file found by program_file_path, in the UI's
// language ("KALDERO5.PDF" / "KALDEROJ.PDF"); empty and false when the path
// does not fit.
bool readme_path(const char* exeName, char* out, size_t outSize);

}  // namespace frame
