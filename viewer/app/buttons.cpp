#include "viewer/app/buttons.h"

#include "frame/toolbar.h"

namespace viewer {

namespace {
const frame::ToolButton kButtons[] = {
    {kGapButton, "Gap", 0, 16, false, 0, nullptr, nullptr},
    {kPrmButton, "Prm", 16, 32, true, kCmdParameters, "Set parameters", "パラメータ設定"},
    {kOpenButton, "Open", 48, 32, true, kCmdOpen, "Open BMP/ICO", "BMP/ICO開く"},
    {kPasteButton, "Paste", 80, 32, false, kCmdPaste, "Paste", "貼り付け"},
    {kZoomOutButton, "ZmOut", 112, 32, false, kCmdZoomOut, "Zoom Out", "画像縮小"},
    {kZoomInButton, "ZmIn", 144, 32, false, kCmdZoomIn, "Zoom In", "画像拡大"},
    {kModeButton, "Mode", 176, 32, false, kCmdExtraction, "RGB Image", "RGB抽出像"},
    {kCopyButton, "Copy", 208, 32, false, kCmdCopy, "Copy", "コピー"},
    {kSaveButton, "SaveAs", 240, 32, false, kCmdSave, "Save Image", "画像保存"},
    {kPrintButton, "Print", 272, 32, false, kCmdPrint, "Print Image", "画像印刷"},
    {kMakeIconButton, "MkIcon", 304, 32, true, kCmdMakeIcon, "Make Icon", "ICON作成"},
    {kAboutButton, "About", 336, 32, true, kCmdAbout, "About", "御案内"},
    {kHelpButton, "Help", 368, 32, true, kCmdHelp, "Help", "ヘルプ"},
    {kExitButton, "Exit", 400, 32, true, kCmdExit, "Exit", "終了"},
    {kSpaceButton, "Space", 432, 0, false, 0, nullptr, nullptr},
};
}  // namespace

void install_tool_buttons() { frame::set_tool_buttons(kButtons, static_cast<int>(sizeof kButtons / sizeof kButtons[0])); }

}  // namespace viewer
