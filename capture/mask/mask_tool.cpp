#include "capture/mask/mask_tool.h"

#include <array>
#include <string>
#include <vector>

#include "capture/capture_state.h"
#include "capture/grab/grab.h"
#include "capture/grab/grab_messages.h"
#include "capture/mask/mask_logic.h"
#include "formats/icon_marks.h"
#include "frame/os_style.h"
#include "frame/scoped.h"

namespace capture {

namespace {

constexpr int kOkId = IDC_TOOL_OK, kCancelId = IDC_TOOL_CANCEL, kToolId = IDC_TOOL_FILL, kListId = IDC_TOOL_COLOUR;
constexpr int kGrid = fmt::icon_marks::kGridSide;

// Kept for the whole run: the fill tool, and the mark colour with its place
// in the list (Cancel puts back what was in force when the tool opened).
int g_fillTool = 0;
COLORREF g_markColour = RGB(0, 128, 128);
int g_markIndex = 0;

struct Tool {
  bool open = false;
  IconForm form;
  COLORREF savedColour = 0;
  int savedIndex = 0;
  std::array<HWND, 4> controls{};
  frame::GdiObject<HFONT> font;
  std::array<uint8_t, fmt::icon_marks::kGridCells> marks{};
  // The captured image's pixels (0xRRGGBB, top row first): the colours the
  // area tool's regions are made of. The image itself is never touched.
  std::vector<uint32_t> colours;
  // Where the window stood before it grew, and where growing moved it: a
  // window still where it was moved goes back when the tool closes.
  bool moved = false;
  POINT before{}, after{};
};
Tool g_tool;

int n() { return g_tool.form.size; }

std::vector<uint32_t> captured_pixels(int side) {
  std::vector<uint32_t> out(static_cast<size_t>(side) * side, 0);
  HDC image = captured_image_dc();
  HBITMAP bitmap = image ? static_cast<HBITMAP>(GetCurrentObject(image, OBJ_BITMAP)) : nullptr;
  if (!bitmap) return out;
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GdiFlush();
  GetDIBits(image, bitmap, 0, static_cast<UINT>(side), out.data(), &info, DIB_RGB_COLORS);
  for (uint32_t& c : out) c &= 0xFFFFFF;
  return out;
}

HFONT make_button_font() {
  if (japaneseUi)
    return CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
  const int height = UiStyle < 0 || UiStyle > 2 ? 15 : 12;
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, OEM_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Helv");
}

void create_controls(HWND main) {
  const char* texts[3] = {"OK", frame::tr("Cancel", "ｷｬﾝｾﾙ"), frame::tr("Tool", "ツール")};
  const DWORD styles[3] = {BS_DEFPUSHBUTTON, BS_PUSHBUTTON, BS_PUSHBUTTON};
  const auto places = tool_controls(n());
  g_tool.font.reset(make_button_font());
  for (int i = 0; i < 3; ++i) {
    const ToolControl& c = places[i];
    g_tool.controls[i] = CreateWindowA("BUTTON", texts[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | styles[i], c.x, c.y,
                                       c.width, c.height, main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       g_instance, nullptr);
    if (g_tool.controls[i] && g_tool.font)
      SendMessageA(g_tool.controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(g_tool.font.get()), TRUE);
  }
  const ToolControl& l = places[3];
  const HWND list = CreateWindowA("COMBOBOX", "",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST |
                                      CBS_OWNERDRAWFIXED,
                                  l.x, l.y, l.width, l.height, main,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(l.id)), g_instance, nullptr);
  g_tool.controls[3] = list;
  if (!list) return;
  SendMessageA(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 16);  // the selection field
  SendMessageA(list, CB_SETITEMHEIGHT, 0, 14);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (uint32_t rgb : mark_colours())
    SendMessageA(list, CB_ADDSTRING, 0, static_cast<LPARAM>(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF)));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(g_markIndex), 0);
}

void destroy_controls() {
  for (HWND& c : g_tool.controls) {
    if (c) DestroyWindow(c);
    c = nullptr;
  }
  g_tool.font.reset();
  g_tool.open = false;
}

void resize_main(HWND main, int width, int height) {
  SetWindowPos(main, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(main, nullptr, TRUE);
  UpdateWindow(main);
}

// The grown window lies inside the work area (the screen less the task bar),
// so that its caption, OK, Cancel and the tool buttons can be reached from
// any place the window was allowed to stand.
void grow_main(HWND main, int width, int height) {
  RECT r{}, area{};
  GetWindowRect(main, &r);
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const WindowPlace place = keep_inside(r.left, r.top, width, height, area.left, area.top, area.right, area.bottom);
  g_tool.before = POINT{r.left, r.top};
  g_tool.after = POINT{place.x, place.y};
  g_tool.moved = place.x != r.left || place.y != r.top;
  SetWindowPos(main, nullptr, place.x, place.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(main, nullptr, TRUE);
  UpdateWindow(main);
}

// Back where the user had it, unless the user moved it meanwhile.
void put_back_position(HWND main) {
  if (!g_tool.moved) return;
  g_tool.moved = false;
  RECT r{};
  GetWindowRect(main, &r);
  if (r.left == g_tool.after.x && r.top == g_tool.after.y)
    SetWindowPos(main, nullptr, g_tool.before.x, g_tool.before.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The cell's 5 x 5 area: the pixel's own colour, or the mark colour with the
// two diagonals in the black pen.
void paint_cell(HDC dc, int k, int j) {
  const int x = kCellSide * k + 1, y = kCellSide * j + kViewTop;
  if (!g_tool.marks[j * kGrid + k]) {
    if (HDC image = captured_image_dc()) StretchBlt(dc, x, y, 5, 5, image, k, j, 1, 1, SRCCOPY);
    return;
  }
  frame::GdiObject<HBRUSH> brush(CreateSolidBrush(g_markColour));
  const RECT r{x, y, x + 5, y + 5};
  if (brush) FillRect(dc, &r, brush.get());
  frame::Selection pen(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, x, y, nullptr);
  LineTo(dc, x + 5, y + 5);
  MoveToEx(dc, x + 5, y, nullptr);
  LineTo(dc, x, y + 5);
}

void show_success(HWND main, bool someMarked) {
  std::string text = saved_success_text();
  text += someMarked ? frame::tr("\nSome transparent pixel(s).", "\n透明色部分があります.")
                     : frame::tr("\nNo transparent pixel(s).", "\n透明色部分はありません.");
  frame::show_f(main, msg::kSuccess, text.c_str());
}

// Back to the captured state: the window at its capture size.
void close_tool(HWND main) {
  destroy_controls();
  g_captureState = kStateCaptured;
  resize_main(main, kMainWidth, g_sizes.baseHeight + n());
  put_back_position(main);
}

void on_ok(HWND main) {
  if (!write_marks(main, last_saved_path(), g_tool.form, g_tool.marks.data())) return;  // the tool stays
  close_tool(main);
  show_success(main, fmt::icon_marks::any_marked(g_tool.marks.data(), static_cast<uint32_t>(n())));
}

void on_colour_list() {
  const HWND list = g_tool.controls[3];
  if (!list) return;
  const auto index = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
  if (index < 0) return;
  g_markIndex = index;
  g_markColour = static_cast<COLORREF>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

}  // namespace

bool mask_tool_open() { return g_tool.open; }

void open_mask_tool(HWND main, const IconForm& form) {
  g_tool.form = form;
  g_tool.marks.fill(0);
  g_tool.colours = captured_pixels(form.size);
  g_tool.open = true;
  g_captureState = kStateMarking;
  grow_main(main, tool_window_width(form.size, GetSystemMetrics(SM_CXFRAME)),
            tool_window_height(form.size, g_sizes.baseHeight));
  g_tool.savedColour = g_markColour;
  g_tool.savedIndex = g_markIndex;
  create_controls(main);
}

void paint_mask_view(HDC dc) {
  if (!g_tool.open) return;
  const int side = kCellSide * n();
  if (HDC image = captured_image_dc()) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 1, kViewTop, side, side, image, 0, 0, n(), n(), SRCCOPY);
  }
  for (int j = 0; j < n(); ++j)
    for (int k = 0; k < n(); ++k)
      if (g_tool.marks[j * kGrid + k]) paint_cell(dc, k, j);
  frame::Selection pen(dc, GetStockObject(BLACK_PEN));
  for (int i = 0; i <= n(); ++i) {
    MoveToEx(dc, kCellSide * i, kViewTop, nullptr);
    LineTo(dc, kCellSide * i, side + kViewTop - 1);
  }
  for (int i = 1; i <= n(); ++i) {
    MoveToEx(dc, 0, kCellSide * i + kViewTop - 1, nullptr);
    LineTo(dc, side + 1, kCellSide * i + kViewTop - 1);
  }
}

void mask_click(HWND main) {
  if (!g_tool.open || g_captureState != kStateMarking) return;
  POINT p;
  if (!GetCursorPos(&p) || !ScreenToClient(main, &p)) return;
  int k = 0, j = 0;
  if (!cell_at(p.x, p.y, n(), &k, &j)) return;
  frame::WindowDc dc(main);
  if (g_fillTool == 0) {
    g_tool.marks[j * kGrid + k] ^= 1;
    paint_cell(dc.get(), k, j);
    return;
  }
  g_captureState = kStateFilling;
  const std::vector<uint8_t> region = region_of(g_tool.colours, n(), k, j);
  toggle_region(g_tool.marks.data(), region, n(), k, j);
  for (int y = 0; y < n(); ++y)
    for (int x = 0; x < n(); ++x)
      if (region[static_cast<size_t>(y) * n() + x]) paint_cell(dc.get(), x, y);
  g_captureState = kStateMarking;
}

void mask_command(HWND main, int command) {
  if (!g_tool.open) return;
  switch (command) {
    case kOkId: on_ok(main); break;
    case kCancelId: cancel_mask_tool(main); break;
    case kToolId: run_fill_tool_dialog(main, &g_fillTool); break;
    case kListId: on_colour_list(); break;
    default: break;
  }
}

void cancel_mask_tool(HWND main) {
  if (!g_tool.open) return;
  destroy_controls();
  g_markColour = g_tool.savedColour;
  g_markIndex = g_tool.savedIndex;
  close_tool(main);
  show_success(main, false);
}

void drop_mask_tool() {
  if (!g_tool.open) return;
  destroy_controls();
  g_captureState = kStateCaptured;
  put_back_position(g_mainWindow);  // the position stored at exit is the user's
}

bool mask_tool_key(const MSG& m) {
  if (!g_tool.open || m.message != WM_KEYDOWN || (m.wParam != VK_RETURN && m.wParam != VK_ESCAPE)) return false;
  if (m.hwnd != g_mainWindow && !IsChild(g_mainWindow, m.hwnd)) return false;
  // An open colour list takes its own Enter and Esc (choose, close the list).
  if (g_tool.controls[3] && SendMessageA(g_tool.controls[3], CB_GETDROPPEDSTATE, 0, 0)) return false;
  PostMessageA(g_mainWindow, WM_COMMAND, m.wParam == VK_RETURN ? kOkId : kCancelId, 0);
  return true;
}

void draw_colour_item(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != static_cast<UINT>(kListId) || item.itemID == static_cast<UINT>(-1)) return;
  const RECT& r = item.rcItem;
  if (item.itemAction & ODA_DRAWENTIRE) {
    frame::GdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(item.itemData)));
    const RECT swatch{r.left + 2, r.top + 1, r.right - 2, r.bottom - 1};
    if (brush) FillRect(item.hDC, &swatch, brush.get());
  }
  // The selected item is outlined in black, the others in white; also when
  // the whole item is drawn, so that the open list shows the selection.
  if (item.itemAction & (ODA_SELECT | ODA_DRAWENTIRE))
    FrameRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(item.itemState & ODS_SELECTED ? BLACK_BRUSH
                                                                                           : WHITE_BRUSH)));
}

}  // namespace capture
