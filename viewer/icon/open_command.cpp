#include "viewer/icon/open_command.h"

namespace viewer {
void open_command(HWND) {}
}  // namespace viewer
