// The viewer's tool bar: thirteen command glyphs of 16 x 14 pixels, typed in
// the VGA letters of canvas.h ('.' lets the button face show).
#include "tools/artwork/buttons.h"

namespace art {

namespace {

// Set parameters: three sliders at different settings.
const PixelArt kPrm = parse_art({
    "..KKKK..........",
    "..KWBK..........",
    ".DKBBKDDDDDDDDD.",
    ".WKBBKWWWWWWWWW.",
    "..KKKK...KKKK...",
    ".........KWBK...",
    ".DDDDDDDDKBBKDD.",
    ".WWWWWWWWKBBKWW.",
    "....KKKK.KKKK...",
    "....KWBK........",
    ".DDDKBBKDDDDDDD.",
    ".WWWKBBKWWWWWWW.",
    "....KKKK........",
    "................",
});

// Open: a folder whose front flap falls open.
const PixelArt kOpen = parse_art({
    "..........KKK...",
    ".........K...K.K",
    ".KKKK.........KK",
    "KOYOOK.......KKK",
    "KOOOOOKKKKKKK...",
    "KOOOOOOOOOOOOK..",
    "KOOOOOOOOOOOOK..",
    "KOOOKKKKKKKKKKKK",
    "KOOKWYYYYYYYYYK.",
    "KOKYYYYYYYYYYK..",
    "KKYYYYYYYYYYK...",
    "KYYYYYYYYYYK....",
    "KKKKKKKKKKK.....",
    "................",
});

// Paste: a clipboard holding a written page.
const PixelArt kPaste = parse_art({
    "......KKKK......",
    "..KKKKLWWLKKKK..",
    "..KOOKKKKKKOOK..",
    "..KOWWWWWWWWOK..",
    "..KOWDDDDDWWOK..",
    "..KOWWWWWWWWOK..",
    "..KOWDDDDDDWOK..",
    "..KOWWWWWWWWOK..",
    "..KOWDDDDWWWOK..",
    "..KOWWWWWWWWOK..",
    "..KOWDDDDDWWOK..",
    "..KOWWWWWWWWOK..",
    "..KOOOOOOOOOOK..",
    "..KKKKKKKKKKKK..",
});

// Zoom out and zoom in: a magnifier with a minus or a plus on its glass.
const PixelArt kZoomOut = parse_art({
    "....KKKKK.......",
    "..KKCCCCCKK.....",
    ".KCWWCCCCCCK....",
    ".KCWCCCCCCCK....",
    "KCWCCCCCCCCCK...",
    "KCCNNNNNNNCCK...",
    "KCCCCCCCCCCCK...",
    ".KCCCCCCCCCK....",
    ".KCCCCCCCCCK....",
    "..KKCCCCCKKKK...",
    "....KKKKK.KMMK..",
    "...........KMMK.",
    "............KMMK",
    ".............KKK",
});

const PixelArt kZoomIn = parse_art({
    "....KKKKK.......",
    "..KKCCCCCKK.....",
    ".KCWWCNCCCCK....",
    ".KCWCCNCCCCK....",
    "KCWCCCNCCCCCK...",
    "KCCNNNNNNNCCK...",
    "KCCCCCNCCCCCK...",
    ".KCCCCNCCCCK....",
    ".KCCCCNCCCCK....",
    "..KKCCCCCKKKK...",
    "....KKKKK.KMMK..",
    "...........KMMK.",
    "............KMMK",
    ".............KKK",
});

// RGB image: three overlapping lights mixing as a screen mixes them.
const PixelArt kMode = parse_art({
    "....KKK...KKK...",
    "..KKRRRKKKgggKK.",
    "..KRRRRRKgggggK.",
    ".KRRRRRYYYgggggK",
    ".KRRRRRYYYgggggK",
    ".KRRRRRWWWgggggK",
    "..KRRFFFWCCCggK.",
    "..KKRFFFWCCCgKK.",
    "....KFFBBBCCK...",
    "....KBBBBBBBK...",
    "....KBBBBBBBK...",
    ".....KBBBBBK....",
    ".....KKBBBKK....",
    ".......KKK......",
});
// Disabled, the colours would merge into one grey blot: show the three rims.
const PixelArt kModeDisabled = parse_art({
    "....KKK...KKK...",
    "..KK...KKK...KK.",
    "..K.....K.....K.",
    ".K.....K.K.....K",
    ".K.....K.K.....K",
    ".K.....KKK.....K",
    "..K..KK.K.KK..K.",
    "..KK.K.KKK.K.KK.",
    "....KKK...KKK...",
    "....K.......K...",
    "....K.......K...",
    ".....K.....K....",
    ".....KK...KK....",
    ".......KKK......",
});

// Copy: a second page laid over the first.
const PixelArt kCopy = parse_art({
    ".KKKKKK.........",
    ".KWWWWKK........",
    ".KWWWWKWK.......",
    ".KWDDWKKK.......",
    ".KWWWWWKKKKKK...",
    ".KWDDDDKWWWWKK..",
    ".KWWWWWKWWWWKWK.",
    ".KWDDDDKWDDWKKK.",
    ".KWWWWWKWWWWWWK.",
    ".KKKKKKKWDDDDWK.",
    ".......KWWWWWWK.",
    ".......KWDDDDWK.",
    ".......KWWWWWWK.",
    ".......KKKKKKKK.",
});

// Save image: a floppy disk with its shutter and label.
const PixelArt kSaveAs = parse_art({
    ".KKKKKKKKKKKKK..",
    ".KNNLLLLLLLNNNK.",
    ".KNNLLLLNNLNNNK.",
    ".KNNLLLLNNLNNNK.",
    ".KNNLLLLLLLNNNK.",
    ".KNNNNNNNNNNNNK.",
    ".KNNNNNNNNNNNNK.",
    ".KNWWWWWWWWWWNK.",
    ".KNWDDDDDDDDWNK.",
    ".KNWWWWWWWWWWNK.",
    ".KNWDDDDDDDDWNK.",
    ".KNWWWWWWWWWWNK.",
    ".KNWWWWWWWWWWNK.",
    ".KKKKKKKKKKKKKK.",
});

// Print image: a printer with a page going in and one coming out.
const PixelArt kPrint = parse_art({
    "....KKKKKKKK....",
    "....KWWWWWWK....",
    "....KWDDDDWK....",
    "....KWWWWWWK....",
    "..KKKWDDDWWKKK..",
    ".KLLLLLLLLLLLLK.",
    ".KWWWWWWWWWWWWK.",
    ".KLLLLLLLLLgYLK.",
    ".KLLLLLLLLLLLLK.",
    ".KDDDDDDDDDDDDK.",
    ".KKKKKKKKKKKKKK.",
    "...KWWWWWWWWK...",
    "...KWDDDDDWWK...",
    "...KKKKKKKKKK...",
});

// Make icon: a small picture with a sparkle of making.
const PixelArt kMkIcon = parse_art({
    "............Y...",
    "............Y...",
    "...........YWY..",
    ".........YYWWWYY",
    "KKKKKKKKKKKYWY..",
    "KCCCCCCYYCK.Y...",
    "KCCCCCCYYCK.Y...",
    "KCCCCCCCCCK.....",
    "KCCCGCCCCCK.....",
    "KCCGGGCCCGK.....",
    "KCGGGGGCGGK.....",
    "KGGGGGGGGGK.....",
    "KGGGGGGGGGK.....",
    "KKKKKKKKKKK.....",
});

// Disabled, the light sky would vanish and leave a blank frame.
const PixelArt kMkIconDisabled = parse_art({
    "............K...",
    "............K...",
    "...........KKK..",
    ".........KKKKKKK",
    "KKKKKKKKKKKKKK..",
    "K......KK.K.K...",
    "K......KK.K.K...",
    "K.........K.....",
    "K...K.....K.....",
    "K..K.K...KK.....",
    "K.K...K.K.K.....",
    "KK.....K..K.....",
    "K.........K.....",
    "KKKKKKKKKKK.....",
});

// About: the information sign.
const PixelArt kAbout = parse_art({
    ".....KKKKKK.....",
    "...KKBBBBBBKK...",
    "..KCCBBWWBBBBK..",
    ".KCBBBBWWBBBBBK.",
    ".KBBBBBBBBBBBBK.",
    ".KBBBBWWWBBBBBK.",
    ".KBBBBBWWBBBBBK.",
    ".KBBBBBWWBBBBBK.",
    ".KBBBBBWWBBBBBK.",
    ".KBBBBBWWBBBBBK.",
    ".KBBBBWWWWBBBBK.",
    "..KBBBBBBBBBBK..",
    "...KKBBBBBBKK...",
    ".....KKKKKK.....",
});

// Help: a book with a question mark on its cover.
const PixelArt kHelp = parse_art({
    "..KKKKKKKKKKKKK.",
    "..KNBBBBBBBBBBK.",
    "..KNBBBBWWWBBBK.",
    "..KNBBBWWBWWBBK.",
    "..KNBBBBBBWWBBK.",
    "..KNBBBBBWWBBBK.",
    "..KNBBBBWWBBBBK.",
    "..KNBBBBWWBBBBK.",
    "..KNBBBBBBBBBBK.",
    "..KNBBBBWWBBBBK.",
    "..KNBBBBBBBBBBK.",
    "..KNWWWWWWWWWWK.",
    "..KNLLLLLLLLLLK.",
    "..KKKKKKKKKKKKK.",
});

// Exit: an open door with the way out.
const PixelArt kExit = parse_art({
    ".KKKKKKKKK......",
    ".KMKYYYYYK......",
    ".KMMKYYYYK......",
    ".KMMMKYYYK......",
    ".KMMMKYYYK..G...",
    ".KMMMKYYYK..GG..",
    ".KMMMKYGGGGGGGG.",
    ".KMYMKYGGGGGGGGG",
    ".KMMMKYGGGGGGGG.",
    ".KMMMKYYYK..GG..",
    ".KMMMKYYYK..G...",
    ".KMMKYYYYK......",
    ".KMKYYYYYK......",
    ".KKKKKKKKK......",
});

}  // namespace

const std::vector<ButtonSpec>& viewer_buttons() {
  static const std::vector<ButtonSpec> buttons = {
      {"Gap", 16, nullptr},     {"Prm", 32, &kPrm},       {"Open", 32, &kOpen},
      {"Paste", 32, &kPaste},   {"ZmOut", 32, &kZoomOut}, {"ZmIn", 32, &kZoomIn},
      {"Mode", 32, &kMode, &kModeDisabled},     {"Copy", 32, &kCopy},     {"SaveAs", 32, &kSaveAs},
      {"Print", 32, &kPrint},   {"MkIcon", 32, &kMkIcon, &kMkIconDisabled}, {"About", 32, &kAbout},
      {"Help", 32, &kHelp},     {"Exit", 32, &kExit},     {"Space", 2000, nullptr},
  };
  return buttons;
}

}  // namespace art
