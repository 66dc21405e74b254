// The two conditions of a TIF save and the dialog that sets them.
#pragma once
#include <windows.h>

namespace viewer {

extern int tifByteOrder;  // 0 Intel, 1 Motorola
extern int tifAs16Bit;    // grey 256-colour images as dithered 16-bit samples

constexpr int kIntelId = 130;
constexpr int kMotorolaId = 131;
constexpr int kAs16BitId = 132;

// Shows SETPARAM_DLG (or _J); the choices apply at once, Cancel and the
// close box put both back.
void tif_conditions_command(HWND mainWindow);

}  // namespace viewer
