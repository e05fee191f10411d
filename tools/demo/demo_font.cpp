#include "demo_font.h"

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_object_layouts.h"

namespace demo {
namespace {

constexpr int32_t kGlyphWidth = 5;
constexpr int32_t kGlyphHeight = 7;

struct GlyphRows {
  char character;
  const char* rows[kGlyphHeight];
};

// '#' is ink; the rest is left clear.
constexpr GlyphRows kGlyphs[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#### ", "    #", "    #", " ### ", "    #", "    #", "#### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {" ### ", "#    ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "    #", " ### "}},
    {':', {"     ", "  #  ", "  #  ", "     ", "  #  ", "  #  ", "     "}},
    {'/', {"    #", "    #", "   # ", "  #  ", " #   ", "#    ", "#    "}},
    {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
};

}  // namespace

DemoFont MakeDemoFont(const char* name) {
  DemoFont font;
  std::vector<standin::game::FontCharacter> characters(256);
  for (const GlyphRows& glyph : kGlyphs) {
    const auto c = static_cast<unsigned char>(glyph.character);
    font.characters += glyph.character;
    // One clear column after each glyph spaces the letters.
    characters[c] = {0, kGlyphWidth + 1, static_cast<int32_t>(font.glyph_data.size())};
    for (const char* row : glyph.rows) {
      for (int32_t x = 0; x < kGlyphWidth; ++x) font.glyph_data.push_back(row[x] == '#' ? 0xFF : 0);
      font.glyph_data.push_back(0);
    }
  }
  std::vector<uint16_t> palette(256, 0);
  palette[kTextGold] = 0xF6B2;  // pale gold
  palette[kTextWhite] = 0xFFFF;
  palette[32] = 0x8410;  // the edge colour of plain glyphs
  font.object = standin::game::GameFontObject(name, kGlyphHeight, palette, characters,
                                              font.glyph_data.data());
  return font;
}

int32_t DrawText(const DemoFont& font, void* bitmap, int32_t x, int32_t y, const std::string& text,
                 uint32_t colour_index) {
  for (const char character : text) {
    const bool known = font.characters.find(character) != std::string::npos;
    const auto drawn = static_cast<unsigned char>(known ? character : ' ');
    standin::game::CallGameMethod(standin::game::kDrawGlyph, font.object.data(),
                                  {drawn, standin::game::Word(bitmap), static_cast<uint32_t>(x),
                                   static_cast<uint32_t>(y), colour_index});
    x += kGlyphWidth + 1;
  }
  return x;
}

}  // namespace demo
