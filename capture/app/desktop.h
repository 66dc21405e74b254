// The screen saver and a BMP wallpaper are switched off while the program
// runs and put back at exit. The changes are broadcast but never written to
// the user's profile, so a program that is killed leaves the user's settings
// as they were at the next log-on.
#pragma once

namespace capture {

void switch_off_desktop_extras();
void restore_desktop_extras();

}  // namespace capture
