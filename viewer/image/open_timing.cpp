#include "viewer/image/open_timing.h"

#include <windows.h>

#include <cstdio>

namespace viewer {

namespace {
LARGE_INTEGER g_start{};
double g_paintMs = -1;
double g_paintStartMs = -1;
bool g_running = false;
bool g_loaded = false;  // paints before it show the old image

double ms_since_start() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - g_start.QuadPart) / static_cast<double>(frequency.QuadPart);
}
}  // namespace

void open_timing_start() {
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("KALDERO_OPEN_TIMING", path, sizeof path);
  g_running = n > 0 && n < sizeof path;
  g_paintMs = g_paintStartMs = -1;
  g_loaded = false;
  if (g_running) QueryPerformanceCounter(&g_start);
}

void open_timing_loaded() { g_loaded = g_running; }

void open_timing_painting() {
  if (g_loaded && g_paintStartMs < 0) g_paintStartMs = ms_since_start();
}

void open_timing_painted() {
  if (g_loaded && g_paintMs < 0) g_paintMs = ms_since_start();
}

void open_timing_done() {
  if (!g_running) return;
  g_running = g_loaded = false;
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("KALDERO_OPEN_TIMING", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "start %.1f paint %.1f done %.1f\n", g_paintStartMs, g_paintMs, ms_since_start());
    std::fclose(f);
  }
}

}  // namespace viewer
