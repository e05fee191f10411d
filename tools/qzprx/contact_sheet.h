#pragma once
// Labelled pictures side by side, so a player can compare filters on one image.
#include <string>
#include <vector>

#include "png_file.h"

namespace qzprx {

struct SheetEntry {
  std::string label;
  Picture picture;
};

// Up to four cells a row; each shows the centre of its picture (at most cell_width x
// cell_height, unscaled, so the filters' pixels can be compared) under its label. Opaque.
Picture ContactSheet(const std::vector<SheetEntry>& entries, int32_t cell_width,
                     int32_t cell_height);

}  // namespace qzprx
