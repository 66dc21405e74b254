// Timing of an open from the open dialog's return: to the first paint that
// shows the new image, and to the end of the command. Only recorded when the
// environment variable KALDERO_OPEN_TIMING names a file; each open then adds
// one line "start <ms> paint <ms> done <ms>" to it: when the first paint
// of the image began drawing, when it ended, and when the command ended. The open benchmark reads it.
#pragma once

namespace viewer {

void open_timing_start();    // the dialog returned a file
void open_timing_loaded();   // the new image is in the record
void open_timing_painting();  // a paint is about to draw the image
void open_timing_painted();   // and has drawn it
void open_timing_done();     // the command ended

}  // namespace viewer
