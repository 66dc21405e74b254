// Process-wide look and language, decided once while the main window is
// created and read by everything that draws or talks to the user.
#pragma once

#include "frame/os_style_logic.h"

extern int UiStyle;     // 0…7, the OS family (selects button bitmaps and hint font)
extern int japaneseUi;  // 1 exactly when the ANSI code page is 932

namespace frame {
// Reads the registry once; the viewer's rule unless a program passes its own.
void detect_style(NtVersionRule rule = nullptr);
bool style_detected();
void decide_language();
// Picks the English or the Japanese form of a text.
inline const char* tr(const char* english, const char* japanese) { return japaneseUi ? japanese : english; }
}  // namespace frame
