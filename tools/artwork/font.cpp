#include "tools/artwork/font.h"

#include <stdexcept>
#include <string>

namespace art {

namespace {

const PixelArt& glyph_of(const Font& font, char c) {
  const auto it = font.glyphs.find(c);
  if (it == font.glyphs.end()) throw std::runtime_error(std::string("font has no letter '") + c + "'");
  return it->second;
}

}  // namespace

const Font& title_font() {
  static const Font font = [] {
    Font f;
    f.height = 11;
    f.spacing = 2;
    f.space_width = 5;
    f.glyphs['K'] = parse_art({"##....##", "##...##.", "##..##..", "##.##...", "####....", "#####...",
                               "##.###..", "##..###.", "##...###", "##....##", "##....##"});
    f.glyphs['a'] = parse_art({".......", ".......", ".......", ".......", ".#####.", ".....##",
                               ".######", "##...##", "##...##", "##..###", ".###.##"});
    f.glyphs['l'] = parse_art({"###.", ".##.", ".##.", ".##.", ".##.", ".##.", ".##.", ".##.",
                               ".##.", ".##.", "..##"});
    f.glyphs['d'] = parse_art({".....##", ".....##", ".....##", ".....##", ".######", "##...##",
                               "##...##", "##...##", "##...##", "##..###", ".###.##"});
    f.glyphs['e'] = parse_art({".......", ".......", ".......", ".......", ".#####.", "##...##",
                               "##...##", "#######", "##.....", "##...##", ".#####."});
    f.glyphs['r'] = parse_art({".......", ".......", ".......", ".......", "##.###.", "###..##",
                               "##.....", "##.....", "##.....", "##.....", "##....."});
    f.glyphs['o'] = parse_art({".......", ".......", ".......", ".......", ".#####.", "##...##",
                               "##...##", "##...##", "##...##", "##...##", ".#####."});
    return f;
  }();
  return font;
}

const Font& small_font() {
  static const Font font = [] {
    Font f;
    f.height = 9;
    f.spacing = 1;
    f.space_width = 3;
    f.glyphs['I'] = parse_art({"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "...", "..."});
    f.glyphs['V'] = parse_art({"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", ".....", "....."});
    f.glyphs['B'] = parse_art({"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", ".....", "....."});
    f.glyphs['M'] = parse_art({"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", ".....", "....."});
    f.glyphs['P'] = parse_art({"####.", "#...#", "#...#", "####.", "#....", "#....", "#....", ".....", "....."});
    f.glyphs['C'] = parse_art({".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", ".....", "....."});
    f.glyphs['O'] = parse_art({".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", ".....", "....."});
    f.glyphs['T'] = parse_art({"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", ".....", "....."});
    f.glyphs['F'] = parse_art({"#####", "#....", "#....", "####.", "#....", "#....", "#....", ".....", "....."});
    f.glyphs['m'] = parse_art({".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", ".....", "....."});
    f.glyphs['a'] = parse_art({".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."});
    f.glyphs['g'] = parse_art({".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."});
    f.glyphs['e'] = parse_art({".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", ".....", "....."});
    f.glyphs['i'] = parse_art({"#", ".", "#", "#", "#", "#", "#", ".", "."});
    f.glyphs['w'] = parse_art({".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#.", ".....", "....."});
    f.glyphs['r'] = parse_art({"....", "....", "#.##", "##..", "#...", "#...", "#...", "....", "...."});
    f.glyphs['/'] = parse_art({"....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#....", ".....", "....."});
    return f;
  }();
  return font;
}

int text_width(const Font& font, std::string_view text, int scale) {
  int w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i > 0) w += font.spacing;
    w += text[i] == ' ' ? font.space_width : glyph_of(font, text[i]).width;
  }
  return w * scale;
}

void render_text(const Font& font, std::string_view text, int scale,
                 const std::function<void(int, int)>& ink) {
  int pen = 0;
  for (const char c : text) {
    if (c == ' ') {
      pen += font.space_width + font.spacing;
      continue;
    }
    const PixelArt& g = glyph_of(font, c);
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x)
        if (g.at(x, y) == '#')
          for (int sy = 0; sy < scale; ++sy)
            for (int sx = 0; sx < scale; ++sx) ink((pen + x) * scale + sx, y * scale + sy);
    pen += g.width + font.spacing;
  }
}

}  // namespace art
