// The viewer's tool bar: control ids and the commands they send.
#pragma once

#include "resources/viewer/resource.h"

namespace viewer {

enum ButtonId {
  kGapButton = IDC_GAP_BUTTON,
  kPrmButton = IDC_PRM_BUTTON,
  kOpenButton = IDC_OPEN_BUTTON,
  kPasteButton = IDC_PASTE_BUTTON,
  kZoomOutButton = IDC_ZOOM_OUT_BUTTON,
  kZoomInButton = IDC_ZOOM_IN_BUTTON,
  kModeButton = IDC_MODE_BUTTON,
  kCopyButton = IDC_COPY_BUTTON,
  kSaveButton = IDC_SAVE_BUTTON,
  kPrintButton = IDC_PRINT_BUTTON,
  kMakeIconButton = IDC_MAKE_ICON_BUTTON,
  kAboutButton = IDC_ABOUT_BUTTON,
  kHelpButton = IDC_HELP_BUTTON,
  kExitButton = IDC_EXIT_BUTTON,
  kSpaceButton = IDC_SPACE_BUTTON,
};

enum Command {
  kCmdParameters = IDM_PARAMETERS,
  kCmdOpen = IDM_OPEN,
  kCmdPaste = IDM_PASTE,
  kCmdZoomOut = IDM_ZOOM_OUT,
  kCmdZoomIn = IDM_ZOOM_IN,
  kCmdExtraction = IDM_EXTRACTION,
  kCmdCopy = IDM_COPY,
  kCmdSave = IDM_SAVE,
  kCmdPrint = IDM_PRINT,
  kCmdMakeIcon = IDM_MAKE_ICON,
  kCmdAbout = IDM_ABOUT,
  kCmdHelp = IDM_HELP,
  kCmdExit = IDM_EXIT,
};

constexpr unsigned kApplyExtractionMessage = 0x400 + 200;  // WM_USER + 200

void install_tool_buttons();

}  // namespace viewer
