// The view of the current image below the tool bar strip: painting, zoom,
// scrolling, the scroll bars and the caption.
#pragma once
#include <windows.h>

#include "viewer/app/view_logic.h"

namespace viewer {

void recompute_zoom_factor();
void on_paint(HWND w);
void zoom_out(HWND w);
void zoom_in(HWND w);
void on_scroll(HWND w, bool vertical, WPARAM wParam);
// What a WM_HSCROLL or WM_VSCROLL asks of a scroll bar or slider.
ScrollCode scroll_code_of(WPARAM wParam);
void layout_scroll_bars(HWND w);
void reset_view_for_load(HWND w);
// After a load that was refused once the old image had gone: no bars, no
// size grip, no image commands and no file name in the caption, since no
// image is shown. Every loader (open, paste, the icon maker's display) calls
// it when its read fails.
void lay_out_as_no_image(HWND w);
// The screen changed (depth, size, palette): what the view keeps is drawn anew.
void on_display_change(HWND w);
void redraw_view(HWND w, bool erase);
void refresh_paste_button(HWND w);
void set_caption_from_path(HWND w, const char* path);
void set_caption_ratio(HWND w);
// The caption up to the ratio, e.g. "Kaldero - a.bmp (1st Bitmap) [".
void set_caption_base(HWND w, const char* base);
// The caption of a window that shows no image: the prefix and "(No title)".
void set_caption_untitled(HWND w);
void follow_extraction_dialog(HWND w);
void destroy_size_grip();

}  // namespace viewer
