#pragma once
// A small pixel font of the game's kind, made by the project: capitals, digits and a few signs,
// 5 x 7 pixels each, in the game's font layout.
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct DemoFont {
  std::string characters;  // those it has glyphs for
  std::vector<uint8_t> glyph_data;
  std::vector<uint8_t> object;  // the game's font object; points into glyph_data
};

// Colours of the font's palette that text is drawn in.
inline constexpr uint32_t kTextGold = 1;
inline constexpr uint32_t kTextWhite = 2;

// A font of that name (its first four letters choose the game's style for it).
DemoFont MakeDemoFont(const char* name);

// Draws `text` with the game's glyph routine into the game's bitmap at (x, y); characters the
// font lacks are drawn as spaces. Returns the x after the text.
int32_t DrawText(const DemoFont& font, void* bitmap, int32_t x, int32_t y, const std::string& text,
                 uint32_t colour_index);

}  // namespace demo
