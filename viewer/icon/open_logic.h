// Path rules of the open command: which kind of file a name stands for and
// where the temporary bitmap of an icon goes.
#pragma once
#include <cstddef>
#include <string>

namespace viewer {

enum class FileKind { Bmp, Ico, Other };
// By the last four characters, without regard to case.
FileKind kind_by_extension(const char* path);

// "<temp dir>\<name without its extension>!.___", with more "!" while that
// name is taken, until the path reaches 255 characters. Returns "" when no
// free name was found: nothing but the command's own file may be replaced.
std::string temporary_bitmap_path(const std::string& tempDir, const char* iconFileName,
                                  bool (*exists)(const std::string&));

}  // namespace viewer
