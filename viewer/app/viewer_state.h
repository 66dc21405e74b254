// Process-wide values of the viewer, owned by the main window's code and
// read by the commands. One GUI thread touches them; no locks.
#pragma once
#include <windows.h>

#include "frame/scoped.h"
#include "viewer/app/startup_logic.h"

namespace viewer {

struct ScreenMetrics {
  int width = 0, height = 0;   // SM_CXSCREEN, SM_CYSCREEN
  int hScrollHeight = 0;       // SM_CYHSCROLL
  int vScrollWidth = 0;        // SM_CXVSCROLL
  int minHeightBase = 0;       // SM_CYMIN + 20
  int dialogOffset = 0;        // SM_CYCAPTION + 30
  int toolbarHeight = 0;       // SM_CYBORDER + 19
  int toolbarWidth = 0;        // the screen width
};

struct LanguageTexts {
  char captionPrefix[256];
  char openTitle[256];
  char saveTitle[256];
  char iconSaveTitle[256];
  char firstBitmapTitle[256];
  char secondBitmapTitle[256];
};

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};

extern HINSTANCE g_instance;
extern HWND g_mainWindow;
extern HWND g_toolbar;
extern HWND g_hScrollBar;
extern HWND g_vScrollBar;
extern ScreenMetrics g_screen;
extern WindowGeometry g_defaultGeometry;
extern TaskbarOffsets g_taskbar;
extern LanguageTexts g_texts;
extern PRINTDLGA g_printSettings;

// Start-up picture, held until the first image replaces it.
extern frame::MemoryDc g_splash;
void free_splash();
constexpr int kSplashWidth = 256;
constexpr int kSplashHeight = 192;

constexpr int kStripHeight = 20;  // the tool bar strip above the view

}  // namespace viewer
