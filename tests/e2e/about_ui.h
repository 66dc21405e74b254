// About and Help as both programs have them, driven as a person does: the box
// opened, looked at and left by its OK button or its close box; the manual
// opened through the shell (a recorder stands in for the PDF reader), renamed
// away, and with no program for PDF documents.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e {

// The text of a dialog control, as UTF-16.
std::wstring control_text(HWND dialog, int id);

struct AboutCase {
  std::string exe;  // the program file whose version and icon the box shows
  int iconId;
  std::function<bool(Program& p)> start;
  const wchar_t* caption;
  // Opens the box; round 0 is left by OK, round 1 by the close box.
  std::function<void(Program& p, int round)> open;
  // Checks the box's texts against the program file's version.
  std::function<void(HWND box, const std::wstring& version)> checkTexts;
  const char* shot;
};
// Starts the program and runs the box twice, checking each time: owner and
// modality, texts, the icon's pixels against the icon in the program file,
// and that the program carries on unchanged after the box.
void about_story(const AboutCase& c);

struct HelpCase {
  std::string exeName;             // "KALDERO5.EXE", copied with the manuals
  std::vector<std::string> files;  // what lies beside it: both manuals
  const char* readme;              // the manual of the UI language
  std::function<bool(Program& p, const std::string& exe, const std::string& dir)> start;
  std::function<void(Program& p)> help;  // the Help command as a person gives it
};
// Help opens the manual through the shell; renamed away, it is reported
// missing by its name; with no program for PDF documents that is reported.
void help_story(const HelpCase& c);

}  // namespace e2e
