// Path rules both programs share. Paths are ANSI text: under code page 932 a
// double-byte character may end in the backslash byte, so every rule steps
// through a path by characters, with the caller's lead-byte test (IsDBCSLeadByte
// in the programs, a fixed code page in the tests; null: single-byte text).
#pragma once
#include <cstddef>

namespace frame {

using LeadByteTest = bool (*)(unsigned char);

// The file name of a path: what follows its last backslash.
const char* file_name_of(const char* path, LeadByteTest isLead);

// path with its last `count` characters replaced by tail ("…\MERIDOT5.EXE",
// 3, "INI" gives "…\MERIDOT5.INI"). False, with an empty out, when the path
// has fewer characters than that or the result does not fit.
bool replace_last_chars(const char* path, size_t count, const char* tail, LeadByteTest isLead, char* out,
                        size_t outSize);

// path with the extension of its file name (from its last dot on) replaced
// by extension (".ico"); a name without a dot gets the extension added.
bool replace_extension(const char* path, const char* extension, LeadByteTest isLead, char* out,
                       size_t outSize);

// The readme beside a program file "…\NAME5.EXE": "…\NAME5.PDF", or for the
// Japanese UI "…\NAMEJ.PDF" (its last character before the dot becomes J).
// False, with an empty out, when the path is too short or the result does not
// fit: no readme rather than a cut one.
bool readme_path_of(const char* programPath, bool japanese, LeadByteTest isLead, char* out, size_t outSize);

}  // namespace frame
