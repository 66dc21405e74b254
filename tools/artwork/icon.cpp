// The viewer's program icon: a gilded picture of a landscape and the glass
// that enlarges it, as on the start-up picture. Typed in the VGA letters of
// canvas.h; '.' is transparent.
#include "tools/artwork/artwork.h"

namespace art {

namespace {

const PixelArt kViewerIcon = parse_art({
    "................................",
    "KKKKKKKKKKKKKKKKKKKKKKKKKK......",
    "KWWWWWWWWWWWWWWWWWWWWWWOOK......",
    "KWYYYYYYYYYYYYYYYYYYYYYYOK......",
    "KWYKKKKKKKKKKKKKKKKKKKKYOK......",
    "KWYKBBBYYYBBBBBBBBBBBBKYOK......",
    "KWYKCCYYYYYCCCCCCCCCCCKYOK......",
    "KWYKCCYYYYYCCWWWWCCCCCKYOK......",
    "KWYKCCYYYYYCWWWWWWCCCCKYOK......",
    "KWYKCCCYYYCDDDDDDDDCCLKYOK......",
    "KWYKCCCCCCDDDDDDDDKKKKKKOK......",
    "KWYKCCCCCDDDDDDDKKLLLLLLKK......",
    "KWYKCCCCDDDDDDDKKLLWWCCLLKK.....",
    "KWYKCCDDDDDDDDKKLWWWWCCCCDKK....",
    "KWYKCDDgggDDDDKLLWWWWWCCCDDK....",
    "KWYKDggGGgggDKKLWWWDWWWCCCDKK...",
    "KWYKgGGGGGGggKKLWDDDDDDDCCDKK...",
    "KWYKGGGGGGGGGKLLDDDDDDDDDCDDK...",
    "KWYKGGGGGGGGGKKLggggDDDDDCDKK...",
    "KWYKGGGGGGGGGKKLgGGggDDDDDDKK...",
    "KWYKGGGGGGGGGGKLLGGGGggggDDK....",
    "KWYKKKKKKKKKKKKKLGGGGGGggDKK....",
    "KOYYYYYYYYYYYYYKKDDGGGGDDKMMK...",
    "KOOOOOOOOOOOOOOOKKDDDDDDKMMMK...",
    "KKKKKKKKKKKKKKKKKKKKKKKKKKMMMK..",
    ".........................KMMMK..",
    "..........................KMMMK.",
    "..........................KMMMK.",
    "...........................KMMMK",
    "...........................KKMMK",
    "............................KMMK",
    ".............................KK.",
});

}  // namespace

IconArt draw_viewer_icon() {
  const PixelArt& art = kViewerIcon;
  IconArt icon{Canvas(art.width, art.height, vga_palette(), vga::Black), {}};
  draw_art(icon.image, art, 0, 0, vga_legend());
  // Clear pixels stay black in the colour image, so the screen shows
  // through them unchanged.
  for (int y = 0; y < art.height; ++y)
    for (int x = 0; x < art.width; ++x) icon.mask.push_back(art.clear(x, y) ? 1 : 0);
  return icon;
}

}  // namespace art
