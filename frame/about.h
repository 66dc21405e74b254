// The About box of both programs. Each program hands in its own dialog
// templates and texts; the version comes from the program file itself, so the
// box and the file's properties always agree.
#pragma once
#include <windows.h>

#include <cstddef>

namespace frame {

// The text of one static control of the box, in each UI language. A text is a
// format with at most one "%s", which becomes the program's version ("2.45").
struct AboutText {
  int control;
  const char* english;
  const char* japanese;
};

struct AboutBox {
  const char* englishTemplate;   // e.g. "ABOUT_DLG"
  const char* japaneseTemplate;  // e.g. "ABOUT_DLG_J"
  const AboutText* texts;
  int textCount;
};

// Runs the box modally over owner. A box that cannot be shown is reported
// system-modal, without owner.
void show_about(HINSTANCE instance, HWND owner, const AboutBox& box);

// The version of the program file, "major.minor" with two minor digits
// ("2.45"), from its version resource; "" when it carries none.
void program_version(char* out, size_t size);

}  // namespace frame
