#include "capture/app/buttons.h"

#include <iterator>

#include "capture/app/startup_logic.h"
#include "capture/capture_state.h"
#include "frame/toolbar.h"

namespace capture {

namespace {
const frame::ToolButton kButtons[] = {
    {kGapButton, "Gap", 0, 16, false, 0, nullptr, nullptr},
    {kFormButton, "CaptSz", 16, 32, true, kCmdButtonForm, "Form", "モード"},
    {kIconButton, "Capt", 48, 32, true, kCmdButtonIcon, "Icon", "取込み"},
    {kAboutButton, "About", 80, 32, true, kCmdButtonAbout, "About", "御案内"},
    {kSpaceButton, "Space", 112, 0, false, 0, nullptr, nullptr},
};
}  // namespace

void install_toolbar_rules() {
  frame::ToolbarRules rules;
  rules.buttons = kButtons;
  rules.count = static_cast<int>(std::size(kButtons));
  rules.buttonTop = 0;
  rules.hintRows = 19;
  rules.topLine = true;
  rules.hints = frame::HintPlacement::AboveToolbar;
  rules.setSuffix = bitmap_set_suffix;
  rules.classStyle = CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
  rules.arrowCursor = false;
  frame::set_toolbar_rules(rules);
}

}  // namespace capture
