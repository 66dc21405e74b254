// Rules of the reduced picture the view keeps between paints: when it is
// kept at all, and which tiles of it a paint needs. Pure functions, tested
// natively.
#pragma once

namespace viewer {

// The kept picture is a bitmap of the displayed size, counted here at 32 bits
// a pixel; above this it is not made and the view paints straight from the
// image block.
constexpr long long kKeptPictureMaxBytes = 64LL << 20;
// The picture is drawn tile by tile as paints first need them, so that the
// first paint after a zoom costs about what the view shows, not the image.
constexpr int kKeptTile = 128;

// Only reduced ratios keep a picture: at 1:1 and above a paint already costs
// the visible area alone.
bool keeps_reduced_picture(int zoomStep, long long displayedW, long long displayedH);

// A rectangle of pixels, right and bottom exclusive.
struct PixelRect {
  long long left, top, right, bottom;
  bool empty() const { return right <= left || bottom <= top; }
};

// The part of a rectangle (in view coordinates) that the picture, placed with
// its top-left corner at (originX, originY), covers; in picture coordinates.
PixelRect picture_part(const PixelRect& update, long long originX, long long originY, long long displayedW,
                       long long displayedH);

// Tiles [x0, x1) × [y0, y1) that hold a non-empty picture rectangle.
struct TileRange {
  int x0, y0, x1, y1;
};
TileRange tiles_of(const PixelRect& pictureRect);
int tile_count(long long pixels);

}  // namespace viewer
