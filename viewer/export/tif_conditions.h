// The two conditions of a TIF save and the dialog that sets them.
#pragma once
#include <windows.h>
#include "resources/viewer/resource.h"

namespace viewer {

extern int tifByteOrder;  // 0 Intel, 1 Motorola
extern int tifAs16Bit;    // grey 256-colour images as dithered 16-bit samples

constexpr int kIntelId = IDC_TIF_INTEL;
constexpr int kMotorolaId = IDC_TIF_MOTOROLA;
constexpr int kAs16BitId = IDC_TIF_AS_16BIT;

// Shows SETPARAM_DLG (or _J); the choices apply at once, Cancel and the
// close box put both back.
void tif_conditions_command(HWND mainWindow);

}  // namespace viewer
