#include "contact_sheet.h"

#include <algorithm>

#include "label_font.h"

namespace qzprx {
namespace {

constexpr int32_t kColumns = 4;
constexpr int32_t kGap = 8;
constexpr int32_t kLabelScale = 2;
constexpr int32_t kLabelHeight = kGlyphHeight * kLabelScale + 8;
constexpr uint32_t kBackground = 0xFF202020;
constexpr uint32_t kLabelColour = 0xFFFFFFFF;
constexpr uint32_t kOpaque = 0xFF000000;

void PlaceCentre(Picture& sheet, const Picture& picture, int32_t left, int32_t top, int32_t width,
                 int32_t height) {
  const int32_t shown_width = std::min(width, picture.width);
  const int32_t shown_height = std::min(height, picture.height);
  const int32_t from_x = (picture.width - shown_width) / 2;
  const int32_t from_y = (picture.height - shown_height) / 2;
  for (int32_t y = 0; y < shown_height; ++y) {
    for (int32_t x = 0; x < shown_width; ++x) {
      const uint32_t pixel =
          picture.pixels[static_cast<size_t>(from_y + y) * picture.width + from_x + x];
      sheet.pixels[static_cast<size_t>(top + y) * sheet.width + left + x] = pixel | kOpaque;
    }
  }
}

}  // namespace

Picture ContactSheet(const std::vector<SheetEntry>& entries, int32_t cell_width,
                     int32_t cell_height) {
  const auto count = static_cast<int32_t>(entries.size());
  const int32_t columns = std::min(kColumns, std::max(count, 1));
  const int32_t rows = (count + columns - 1) / columns;
  Picture sheet;
  sheet.width = kGap + columns * (cell_width + kGap);
  sheet.height = kGap + rows * (kLabelHeight + cell_height + kGap);
  sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, kBackground);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t left = kGap + (i % columns) * (cell_width + kGap);
    const int32_t top = kGap + (i / columns) * (kLabelHeight + cell_height + kGap);
    // A label longer than its cell is cut, so it never runs into the next one.
    const auto fitting = static_cast<size_t>(cell_width / (kGlyphAdvance * kLabelScale));
    DrawLabel(sheet, left, top, entries[i].label.substr(0, fitting), kLabelColour, kLabelScale);
    PlaceCentre(sheet, entries[i].picture, left, top + kLabelHeight, cell_width, cell_height);
  }
  return sheet;
}

}  // namespace qzprx
