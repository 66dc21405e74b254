// The viewer's tool bar: control ids and the commands they send.
#pragma once

namespace viewer {

enum ButtonId {
  kGapButton = 0x71,
  kPrmButton = 0x72,
  kOpenButton = 0x73,
  kPasteButton = 0x74,
  kZoomOutButton = 0x75,
  kZoomInButton = 0x76,
  kModeButton = 0x77,
  kCopyButton = 0x78,
  kSaveButton = 0x79,
  kPrintButton = 0x7a,
  kMakeIconButton = 0x7b,
  kAboutButton = 0x7c,
  kHelpButton = 0x7d,
  kExitButton = 0x7e,
  kSpaceButton = 0x7f,
};

enum Command {
  kCmdParameters = 100,
  kCmdOpen = 101,
  kCmdPaste = 102,
  kCmdZoomOut = 103,
  kCmdZoomIn = 104,
  kCmdExtraction = 105,
  kCmdCopy = 106,
  kCmdSave = 107,
  kCmdPrint = 108,
  kCmdMakeIcon = 109,
  kCmdAbout = 110,
  kCmdHelp = 111,
  kCmdExit = 112,
};

constexpr unsigned kApplyExtractionMessage = 0x400 + 200;  // WM_USER + 200

void install_tool_buttons();

}  // namespace viewer
