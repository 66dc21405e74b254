#include "viewer/export/replace_file.h"

#include "viewer/export/save_messages.h"

namespace viewer {

void report_save_failure(HWND owner, frame::ReplaceFailure failure, const frame::Message& notCreated) {
  switch (failure) {
    case frame::ReplaceFailure::None: return;
    case frame::ReplaceFailure::PathTooLong: frame::show(owner, msg::kPathTooLong); return;
    case frame::ReplaceFailure::Create: frame::show(owner, notCreated); return;
    case frame::ReplaceFailure::Protected:
    case frame::ReplaceFailure::Write:
    case frame::ReplaceFailure::Flush:
    case frame::ReplaceFailure::Close:
    case frame::ReplaceFailure::Move: frame::show(owner, msg::kWriteError); return;
  }
}

}  // namespace viewer
