// Messages of copy and paste in both languages. A refused pasted block is
// reported with the reader's kIllegalStructureSize.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

inline const frame::Message kNoClipboardMemory = {MB_OK | MB_ICONERROR, "Unable to allocate clipboard memory.", "Error",
                                                  "クリップボードのメモリを確保できません.", "エラー"};
inline const frame::Message kNoBitmapMemory = {MB_OK | MB_ICONERROR, "Unable to allocate bitmap memory.", "Error",
                                               "ビットマップのメモリを確保できません.", "エラー"};

}  // namespace viewer::msg
