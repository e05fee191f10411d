#pragma once
// Glyphs of the game's fonts drawn into a 32-bit bitmap, in the plain style or one of the styles
// that give some fonts their shadows.
#include <cstdint>

#include "truecolour/pixel_buffer.h"

namespace qz::truecolour {

enum class GlyphStyle {
  kPlain,        // 0xFF: the colour; other non-zero bytes: the font's edge colour
  kSoftShadow,   // 0xFF: darkens the pixel one right and one down, then takes the colour
  kHardShadow,   // 0xFF: blackens the pixel one right and one down, then takes the colour
  kBlackBorder,  // all four neighbours of the glyph's 0xFF pixels blackened, then coloured
};

// The style a font's name selects (its first four characters, any case) when the named styles are
// in force; the plain style otherwise and for every other name.
GlyphStyle StyleForFont(const char name[4], bool named_styles);

// A glyph: rows of `width` bytes, `height` of them.
struct GlyphPixels {
  const uint8_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

// Draws `glyph` with its top-left corner at (x, y) of `bitmap`, row by row, left to right; shadow
// pixels written earlier can be covered by later glyph pixels. Pixels that fall outside the
// bitmap are left out.
void DrawGlyphPixels(const PixelBuffer& bitmap, int32_t x, int32_t y, const GlyphPixels& glyph,
                     GlyphStyle style, uint32_t colour, uint32_t edge_colour);

}  // namespace qz::truecolour
