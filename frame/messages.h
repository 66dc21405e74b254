// Message boxes in the language of the UI. Each message is one table entry
// holding its icon and buttons and both languages' text and caption, so a
// command names what it says once and the wording lives in one place.
#pragma once
#include <windows.h>

#include <cstdarg>
#include <cstddef>

namespace frame {

struct Message {
  UINT flags;  // icon and buttons, e.g. MB_ICONQUESTION | MB_YESNO
  const char* english;
  const char* englishCaption;
  const char* japanese;
  const char* japaneseCaption;
};

// Shows the message in the UI's language; returns the button pressed.
int show(HWND owner, const Message& m);
// The same with a printf-style text (both languages take the same arguments),
// formatted into the program's shared message buffer, cut at its size.
int show_f(HWND owner, const Message& m, ...);
int show_v(HWND owner, const Message& m, char* buffer, size_t size, va_list args);

// "Unable to display dialog": a dialog that cannot be shown is reported
// system-modal, without owner.
extern const Message kDialogFailure;
void report_dialog_failure();

}  // namespace frame
