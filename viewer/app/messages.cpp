#include "viewer/app/messages.h"

#include <cstdarg>
#include <cstdio>

#include "frame/os_style.h"
#include "viewer/app/viewer_state.h"

namespace viewer {

int message(HWND owner, UINT flags, const char* en, const char* capEn, const char* ja, const char* capJa) {
  return MessageBoxA(owner, frame::tr(en, ja), frame::tr(capEn, capJa), flags);
}

int message_f(HWND owner, UINT flags, const char* enFormat, const char* capEn, const char* jaFormat,
              const char* capJa, ...) {
  va_list args;
  va_start(args, capJa);
  std::vsnprintf(g_messageText, sizeof g_messageText, frame::tr(enFormat, jaFormat), args);
  va_end(args);
  return MessageBoxA(owner, g_messageText, frame::tr(capEn, capJa), flags);
}

void report_dialog_failure() {
  message(nullptr, MB_SYSTEMMODAL | MB_ICONERROR, "Unable to display dialog", "System Error",
          "ダイアログを表示できません", "システム・エラー");
}

}  // namespace viewer
