#include "frame/toolbar.h"

#include <cstdio>
#include <cstring>

#include "frame/hint_logic.h"
#include "frame/os_style.h"
#include "frame/os_style_logic.h"
#include "frame/scoped.h"

namespace frame {

namespace {

constexpr const char* kClassName = "IconBarWindow";

ToolbarRules g_rules;
HINSTANCE g_instance = nullptr;

// The hint currently drawn and the pixels it covers.
struct HintState {
  int shown = 0;
  RECT box{};
  HDC savedDc = nullptr;
  HBITMAP savedBitmap = nullptr;
  HGDIOBJ savedOld = nullptr;
} g_hint;

// Hinted buttons sit side by side, 32 pixels each, after the left filler.
int first_hinted_x() {
  for (int i = 0; i < g_rules.count; ++i)
    if (g_rules.buttons[i].hintEn) return g_rules.buttons[i].x;
  return 0;
}
int hinted_count() {
  int n = 0;
  for (int i = 0; i < g_rules.count; ++i)
    if (g_rules.buttons[i].hintEn) ++n;
  return n;
}
const ToolButton* hinted(int n) {
  for (int i = 0; i < g_rules.count; ++i)
    if (g_rules.buttons[i].hintEn && --n == 0) return &g_rules.buttons[i];
  return nullptr;
}
const ToolButton* by_id(int id) {
  for (int i = 0; i < g_rules.count; ++i)
    if (g_rules.buttons[i].id == id) return &g_rules.buttons[i];
  return nullptr;
}

int button_width(const ToolButton& b) { return b.width > 0 ? b.width : GetSystemMetrics(SM_CXSCREEN) - b.x; }

void bitmap_name(const ToolButton& b, const char* state, char (&out)[32]) {
  const char* suffix = (g_rules.setSuffix ? g_rules.setSuffix : bitmap_set_suffix)(UiStyle);
  std::snprintf(out, sizeof out, "%s%s%s", b.base, suffix, state);
}

void watch_hint(bool on);

void restore_hint(HDC windowDc) {
  if (!g_hint.shown) return;
  const RECT& r = g_hint.box;
  BitBlt(windowDc, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, g_hint.savedDc, 0, 0, SRCCOPY);
  SetRectEmpty(&g_hint.box);
  g_hint.shown = 0;
  watch_hint(false);
}

void draw_hint(HDC windowDc, int n, const HintFont& font) {
  const ToolButton* b = hinted(n);
  if (!b) return;
  const char* text = tr(b->hintEn, b->hintJa);
  const int len = static_cast<int>(std::strlen(text));
  SIZE extent{};
  GetTextExtentPoint32A(windowDc, text, len, &extent);
  TEXTMETRICA tm{};
  GetTextMetricsA(windowDc, &tm);
  const HintBox box =
      g_rules.hints == HintPlacement::AboveToolbar
          ? hint_box_above(b->x, extent.cx, font.extraWidth, tm.tmHeight, tm.tmExternalLeading,
                           GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER),
                           GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENU), UiStyle)
          : hint_box(b->x, extent.cx, font.extraWidth, tm.tmHeight, tm.tmExternalLeading,
                     GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER), GetSystemMetrics(SM_CYCAPTION));
  if (!g_hint.savedDc) {
    g_hint.savedDc = CreateCompatibleDC(windowDc);
    g_hint.savedBitmap = g_hint.savedDc ? CreateCompatibleBitmap(windowDc, kHintBufferWidth, kHintBufferHeight)
                                        : nullptr;
    g_hint.savedOld = g_hint.savedBitmap ? SelectObject(g_hint.savedDc, g_hint.savedBitmap) : nullptr;
    // A hint whose pixels cannot be saved could never be taken away again:
    // without the buffer there is no hint.
    if (!g_hint.savedOld) {
      release_hint_buffer();
      return;
    }
  }
  const int w = box.right - box.left + 1, h = box.bottom - box.top + 1;
  BitBlt(g_hint.savedDc, 0, 0, w, h, windowDc, box.left, box.top, SRCCOPY);
  SetRect(&g_hint.box, box.left, box.top, box.right, box.bottom);
  g_hint.shown = n;

  {
    Selection pen(windowDc, GetStockObject(BLACK_PEN));
    Selection brush(windowDc, GetStockObject(WHITE_BRUSH));
    Rectangle(windowDc, box.left, box.top, box.right, box.bottom);
  }
  // Text that the box cannot hold is cut at its inner edge.
  RECT inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
  SetBkMode(windowDc, TRANSPARENT);
  SetTextColor(windowDc, RGB(0, 0, 0));
  ExtTextOutA(windowDc, box.left + font.offsetX + 3, box.top + font.offsetY + 3, ETO_CLIPPED, &inner, text,
              static_cast<UINT>(len), nullptr);
}

// A pointer that jumps out of the program in one move sends the main window
// nothing on its way out (and Wine posts no leave message when it lands off
// every window), so while a hint is drawn the tool bar looks where the
// pointer is a few times a second and takes the hint away once it is
// elsewhere.
constexpr UINT_PTR kHintWatchTimer = 1;
constexpr UINT kHintWatchMs = 100;
HWND g_bar = nullptr;

void watch_hint(bool on) {
  if (!g_bar) return;
  if (on)
    SetTimer(g_bar, kHintWatchTimer, kHintWatchMs, nullptr);
  else
    KillTimer(g_bar, kHintWatchTimer);
}

void on_hint_watch(HWND bar) {
  HWND main = GetParent(bar);
  POINT p;
  HWND under = GetCursorPos(&p) ? WindowFromPoint(p) : nullptr;
  if (under && main && (under == main || IsChild(main, under))) return;  // its own messages follow it
  erase_hint(main);
}

LRESULT on_create(HWND bar) {
  g_bar = bar;
  if (!style_detected()) detect_style();
  for (int i = 0; i < g_rules.count; ++i) {
    const ToolButton& b = g_rules.buttons[i];
    const RECT r = button_rect(b.id);
    HWND button = CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, bar,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), g_instance, nullptr);
    if (button && !b.enabledAtStart) EnableWindow(button, FALSE);
  }
  return 0;
}

LRESULT on_command(HWND bar, WPARAM wParam) {
  // Every notification counts: a double click arrives as a click and a
  // double-click notification and runs the command twice.
  const ToolButton* b = by_id(LOWORD(wParam));
  if (!b || b->command == 0) return 0;
  SendMessageA(GetParent(bar), WM_COMMAND, static_cast<WPARAM>(b->command), 0);
  InvalidateRect(GetDlgItem(bar, b->id), nullptr, TRUE);
  return 0;
}

// The capture program's strip has a black edge along its top, over the row
// its buttons leave free.
void draw_top_line(HWND bar) {
  RECT client;
  GetClientRect(bar, &client);
  WindowDc dc(bar);
  if (!dc) return;
  Selection pen(dc.get(), GetStockObject(BLACK_PEN));
  MoveToEx(dc.get(), 0, 0, nullptr);
  LineTo(dc.get(), client.right, 0);
}

LRESULT on_draw_item(HWND bar, const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON) return 0;
  const ToolButton* b = by_id(static_cast<int>(item->CtlID));
  if (!b) return 0;
  const char* state = !IsWindowEnabled(item->hwndItem)   ? "In"
                      : (item->itemState & ODS_SELECTED) ? "Dn"
                                                         : "Up";
  char name[32];
  bitmap_name(*b, state, name);
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    GdiObject<HBITMAP> bitmap(LoadBitmapA(g_instance, name));
    OwnDc mem(bitmap ? CreateCompatibleDC(item->hDC) : nullptr);
    if (mem) {
      Selection selected(mem.get(), bitmap.get());
      if (selected)
        BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right - item->rcItem.left,
               item->rcItem.bottom - item->rcItem.top, mem.get(), 0, 0, SRCCOPY);
    }
  }
  if (g_rules.topLine) draw_top_line(bar);
  return 0;
}

LRESULT CALLBACK toolbar_proc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return on_create(bar);
    case WM_COMMAND: return on_command(bar, wParam);
    case WM_DRAWITEM: return on_draw_item(bar, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_TIMER:
      if (wParam == kHintWatchTimer) on_hint_watch(bar);
      return 0;
    default: return DefWindowProcA(bar, msg, wParam, lParam);
  }
}

}  // namespace

void set_tool_buttons(const ToolButton* table, int count) {
  ToolbarRules rules;
  rules.buttons = table;
  rules.count = count;
  set_toolbar_rules(rules);
}

void set_toolbar_rules(const ToolbarRules& rules) { g_rules = rules; }

RECT button_rect(int id) {
  const ToolButton* b = by_id(id);
  if (!b) return RECT{};
  const int top = GetSystemMetrics(SM_CYBORDER) + g_rules.buttonTop;
  return RECT{b->x, top, b->x + button_width(*b), top + kButtonHeight};
}

bool register_toolbar_class(HINSTANCE instance) {
  g_instance = instance;
  WNDCLASSA wc{};
  wc.style = g_rules.classStyle;
  wc.lpfnWndProc = toolbar_proc;
  wc.hInstance = instance;
  wc.hCursor = g_rules.arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

HWND create_toolbar(HINSTANCE instance, HWND parent, int width, int height) {
  HWND bar = CreateWindowA(kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
  if (!bar) return nullptr;
  SetWindowPos(bar, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  ShowWindow(bar, SW_SHOW);
  UpdateWindow(bar);
  return bar;
}

void update_hint(HWND main) {
  POINT p;
  if (!GetCursorPos(&p)) return;
  ScreenToClient(main, &p);
  // No hints while a modal dialog has disabled the main window.
  if (!GetActiveWindow() || !IsWindowEnabled(main)) return;
  WindowDc dc(main, WindowDc::WholeWindow);
  if (!dc) return;
  const HintFont font = hint_font(japaneseUi != 0, UiStyle);
  GdiObject<HFONT> hfont(CreateFontA(font.height, 0, 0, 0, 400, 0, 0, 0, static_cast<DWORD>(font.charset), 0, 0,
                                     0, 0, font.face));
  Selection selected(dc.get(), hfont.get());
  const int n =
      hint_target(p.x, p.y, GetSystemMetrics(SM_CYBORDER), first_hinted_x(), hinted_count(), g_rules.hintRows);
  if (n <= 0) {
    restore_hint(dc.get());
  } else if (n != g_hint.shown) {
    restore_hint(dc.get());
    draw_hint(dc.get(), n, font);
    if (g_hint.shown) watch_hint(true);
  }
}

void erase_hint(HWND main) {
  if (!g_hint.shown) return;
  WindowDc dc(main, WindowDc::WholeWindow);
  if (dc) restore_hint(dc.get());
}

int hint_state() { return g_hint.shown; }

void release_hint_buffer() {
  if (!g_hint.savedDc) return;
  SelectObject(g_hint.savedDc, g_hint.savedOld);
  DeleteDC(g_hint.savedDc);
  DeleteObject(g_hint.savedBitmap);
  g_hint = HintState{};
}

}  // namespace frame
