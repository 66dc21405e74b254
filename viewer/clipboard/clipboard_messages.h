// Messages of copy in both languages.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

// Any copy that cannot hand its picture to the clipboard: no memory for it,
// or the clipboard held open by another program.
inline const frame::Message kClipboardMemory = {MB_OK | MB_ICONERROR, "Unable to allocate clipboard memory.",
                                                "Error", "クリップボードのメモリを確保できません.", "エラー"};

}  // namespace viewer::msg
