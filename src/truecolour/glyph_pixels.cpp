#include "truecolour/glyph_pixels.h"

#include <cstring>

#include "truecolour/pixel_operations.h"

namespace qz::truecolour {
namespace {

constexpr uint8_t kInk = 0xFF;

char Capital(char letter) {
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

bool Inside(const PixelBuffer& bitmap, int64_t x, int64_t y) {
  return x >= 0 && y >= 0 && x < bitmap.width && y < bitmap.height;
}

template <typename Change>
void ChangePixel(const PixelBuffer& bitmap, int64_t x, int64_t y, Change change) {
  if (!Inside(bitmap, x, y)) return;
  uint32_t& pixel = PixelRow(bitmap, static_cast<int32_t>(y))[x];
  pixel = change(pixel);
}

void SetPixel(const PixelBuffer& bitmap, int64_t x, int64_t y, uint32_t colour) {
  ChangePixel(bitmap, x, y, [colour](uint32_t) { return colour; });
}

// Calls visit(byte, x, y) for every glyph byte in drawing order, at its place on the bitmap.
template <typename Visit>
void ForEachGlyphByte(const GlyphPixels& glyph, int32_t x, int32_t y, Visit visit) {
  for (int32_t row = 0; row < glyph.height; ++row) {
    const uint8_t* bytes = glyph.data + static_cast<intptr_t>(row) * glyph.width;
    for (int32_t column = 0; column < glyph.width; ++column) {
      visit(bytes[column], static_cast<int64_t>(x) + column, static_cast<int64_t>(y) + row);
    }
  }
}

}  // namespace

GlyphStyle StyleForFont(const char name[4], bool named_styles) {
  if (!named_styles) return GlyphStyle::kPlain;
  char capitals[4];
  for (int i = 0; i < 4; ++i) capitals[i] = Capital(name[i]);
  const auto is = [&capitals](const char* candidate) {
    return std::memcmp(capitals, candidate, 4) == 0;
  };
  if (is("SMAL")) return GlyphStyle::kSoftShadow;
  if (is("MEDF") || is("BIGF")) return GlyphStyle::kHardShadow;
  if (is("VERD") || is("CHAM")) return GlyphStyle::kBlackBorder;
  return GlyphStyle::kPlain;
}

void DrawGlyphPixels(const PixelBuffer& bitmap, int32_t x, int32_t y, const GlyphPixels& glyph,
                     GlyphStyle style, uint32_t colour, uint32_t edge_colour) {
  switch (style) {
    case GlyphStyle::kPlain:
      ForEachGlyphByte(glyph, x, y, [&](uint8_t byte, int64_t px, int64_t py) {
        if (byte != 0) SetPixel(bitmap, px, py, byte == kInk ? colour : edge_colour);
      });
      return;
    case GlyphStyle::kSoftShadow:
    case GlyphStyle::kHardShadow: {
      const bool soft = style == GlyphStyle::kSoftShadow;
      ForEachGlyphByte(glyph, x, y, [&](uint8_t byte, int64_t px, int64_t py) {
        if (byte != kInk) return;
        ChangePixel(bitmap, px + 1, py + 1,
                    [soft](uint32_t pixel) { return soft ? Dark50(pixel) : 0u; });
        SetPixel(bitmap, px, py, colour);
      });
      return;
    }
    case GlyphStyle::kBlackBorder:
      ForEachGlyphByte(glyph, x, y, [&](uint8_t byte, int64_t px, int64_t py) {
        if (byte != kInk) return;
        SetPixel(bitmap, px, py - 1, 0);
        SetPixel(bitmap, px, py + 1, 0);
        SetPixel(bitmap, px - 1, py, 0);
        SetPixel(bitmap, px + 1, py, 0);
      });
      ForEachGlyphByte(glyph, x, y, [&](uint8_t byte, int64_t px, int64_t py) {
        if (byte == kInk) SetPixel(bitmap, px, py, colour);
      });
      return;
  }
}

}  // namespace qz::truecolour
