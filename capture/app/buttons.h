// The capture program's tool bar: five buttons and how its strip differs from
// the viewer's (buttons one pixel lower, a black line along the top, hints
// above the strip, the "X" set for every newer system).
#pragma once

namespace capture {

void install_toolbar_rules();

}  // namespace capture
