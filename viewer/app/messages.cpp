#include "viewer/app/messages.h"

#include <cstdarg>

#include "frame/messages.h"
#include "viewer/app/viewer_state.h"

namespace viewer {

int message(HWND owner, UINT flags, const char* en, const char* capEn, const char* ja, const char* capJa) {
  return frame::show(owner, {flags, en, capEn, ja, capJa});
}

int message_f(HWND owner, UINT flags, const char* enFormat, const char* capEn, const char* jaFormat,
              const char* capJa, ...) {
  va_list args;
  va_start(args, capJa);
  const int answer =
      frame::show_v(owner, {flags, enFormat, capEn, jaFormat, capJa}, g_messageText, sizeof g_messageText, args);
  va_end(args);
  return answer;
}

void report_dialog_failure() { frame::report_dialog_failure(); }

}  // namespace viewer
