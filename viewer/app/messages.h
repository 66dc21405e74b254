// Message boxes in the language of the UI. Formatted texts are built in the
// shared message buffer with a bounded formatter.
#pragma once
#include <windows.h>

namespace viewer {

int message(HWND owner, UINT flags, const char* english, const char* englishCaption, const char* japanese,
            const char* japaneseCaption);
// Formats english or japanese (by the UI language) with the arguments.
int message_f(HWND owner, UINT flags, const char* englishFormat, const char* englishCaption,
              const char* japaneseFormat, const char* japaneseCaption, ...);
// A dialog that cannot be shown is reported system-modal, without owner.
void report_dialog_failure();

}  // namespace viewer
