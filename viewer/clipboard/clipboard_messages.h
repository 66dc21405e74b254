// Messages of copy and paste in both languages. A refused pasted block is
// reported with the reader's kIllegalStructureSize.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

// Any copy that cannot hand its picture to the clipboard: no memory for it,
// or the clipboard held open by another program.
inline const frame::Message kNoClipboardMemory = {MB_OK | MB_ICONERROR, "Unable to allocate clipboard memory.", "Error",
                                                  "クリップボードのメモリを確保できません.", "エラー"};
inline const frame::Message kNoBitmapMemory = {MB_OK | MB_ICONERROR, "Unable to allocate bitmap memory.", "Error",
                                               "ビットマップのメモリを確保できません.", "エラー"};

}  // namespace viewer::msg
