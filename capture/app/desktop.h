// The screen saver and a BMP wallpaper are switched off while the program
// runs and put back at exit. The changes are broadcast but never written to
// the user's profile, and what this run switched off is noted in the INI
// until it is put back: a run that finds the note of a run that was killed
// first puts back what that run left off.
#pragma once

namespace capture {

// iniPath may be empty (no INI): nothing is noted then.
void switch_off_desktop_extras(const char* iniPath);
void restore_desktop_extras(const char* iniPath);

}  // namespace capture
