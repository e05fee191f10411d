#pragma once
// A 5 x 7 pixel font for the labels of contact sheets: capitals, digits and a few signs.
#include <cstdint>
#include <string>

#include "png_file.h"

namespace qzprx {

inline constexpr int32_t kGlyphWidth = 5;
inline constexpr int32_t kGlyphHeight = 7;
inline constexpr int32_t kGlyphAdvance = 6;

// Draws `text` (lower case shown as capitals, unknown signs as blanks) with its top left at
// (x, y), each font pixel `scale` x `scale`, clipped to the picture.
void DrawLabel(Picture& picture, int32_t x, int32_t y, const std::string& text, uint32_t colour,
               int32_t scale);

}  // namespace qzprx
