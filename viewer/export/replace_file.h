// The viewer's files are replaced through frame::replace_file with temporary
// names of its own ("~kal1A2B.tmp"); each failure has the viewer's message.
#pragma once
#include <windows.h>

#include "frame/messages.h"
#include "frame/replace_file.h"

namespace viewer {

inline constexpr char kTempPrefix[] = "~kal";

// The message of a save's failed step: the path too long, notCreated when no
// file could be made, "Unable to write to file." for the rest (a read-only
// target included).
void report_save_failure(HWND owner, frame::ReplaceFailure failure, const frame::Message& notCreated);

// Writes path through fill and reports any failure; true when the new file
// stands at path.
template <class Fill>
bool save_replacing(HWND owner, const char* path, const frame::Message& notCreated, Fill&& fill) {
  const frame::ReplaceFailure failure = frame::replace_file(path, kTempPrefix, fill);
  if (failure == frame::ReplaceFailure::None) return true;
  report_save_failure(owner, failure, notCreated);
  return false;
}

}  // namespace viewer
