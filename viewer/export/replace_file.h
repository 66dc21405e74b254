// Saving without ever losing the old file: the writer fills a new temporary
// file in the target's folder, and only a file written and closed in full
// replaces the target.
#pragma once
#include <windows.h>

#include "formats/byte_sink.h"

namespace viewer {

struct PendingFile {
  HANDLE handle = INVALID_HANDLE_VALUE;
  char path[MAX_PATH + 32] = {};
};

// Creates a new file (never replacing one) beside target. False when none
// could be made.
bool begin_pending_file(const char* target, PendingFile* file);
// A sink that writes to the pending file and fails on any short write.
fmt::Sink pending_sink(PendingFile* file);
// Closes the file and moves it over the target. On any failure the
// temporary file is deleted and the target stays as it was.
bool commit_pending_file(PendingFile* file, const char* target);
// Closes and deletes the temporary file.
void abandon_pending_file(PendingFile* file);

// The write error of every writer: "Unable to write to file."
void report_write_error(HWND owner);

}  // namespace viewer
