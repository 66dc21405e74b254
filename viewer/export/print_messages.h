// Messages of the print command in both languages.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

inline const frame::Message kPrintJobNotStarted = {MB_OK | MB_ICONERROR, "Unable to start print job.", "Warning",
                                                   "印刷をスタートできません.", "警告"};
// The print zoom dialog's own wording ends with a full stop.
inline const frame::Message kPrintZoomDialogFailure = {MB_OK | MB_SYSTEMMODAL | MB_ICONERROR,
                                                       "Unable to display dialog.", "System Error",
                                                       "ダイアログを表示できません.", "システム・エラー"};

}  // namespace viewer::msg
