#include "frame/messages.h"

#include <cstdio>

#include "frame/os_style.h"

namespace frame {

namespace {
char g_messageText[512];
}  // namespace

const Message kDialogFailure = {MB_SYSTEMMODAL | MB_ICONERROR, "Unable to display dialog", "System Error",
                                "ダイアログを表示できません", "システム・エラー"};

int show(HWND owner, const Message& m) {
  return MessageBoxA(owner, tr(m.english, m.japanese), tr(m.englishCaption, m.japaneseCaption), m.flags);
}

int show_v(HWND owner, const Message& m, char* buffer, size_t size, va_list args) {
  std::vsnprintf(buffer, size, tr(m.english, m.japanese), args);
  return MessageBoxA(owner, buffer, tr(m.englishCaption, m.japaneseCaption), m.flags);
}

int show_f(HWND owner, const Message& m, ...) {
  va_list args;
  va_start(args, m);
  const int answer = show_v(owner, m, g_messageText, sizeof g_messageText, args);
  va_end(args);
  return answer;
}

void report_dialog_failure() { show(nullptr, kDialogFailure); }

}  // namespace frame
