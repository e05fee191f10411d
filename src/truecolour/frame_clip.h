#pragma once
// Which part of a frame request is drawn and where, shared by every frame drawer.
#include <cstdint>
#include <optional>

#include "truecolour/frame_description.h"

namespace qz::truecolour {

// The drawn part: w × h pixels from (sx, sy) of the stored rectangle to (dx, dy) of the
// destination, mirrored and flipped as asked.
struct FrameClip {
  int32_t sx = 0;
  int32_t sy = 0;
  int32_t w = 0;
  int32_t h = 0;
  int32_t dx = 0;
  int32_t dy = 0;
  bool mirror = false;
  bool flip = false;
};

// Mirror and flip reflect the whole cell (cell column c is read for mirrored column
// fullWidth - 1 - c), then the request is cut to the destination limits 0..destW-1, 0..destH-1
// and to the stored rectangle. Empty when no pixel is left.
std::optional<FrameClip> ClipFrame(const FrameDescription& frame, const FrameRequest& request,
                                   bool mirror, bool flip);

// Destination pointer for clip row `row` (0 .. h - 1, ascending source rows). Without mirror it
// points at pixel dx, with mirror just right of pixel dx + w - 1 (the walk moves left before each
// write); with flip the rows go upward from dy + h - 1.
uint32_t* DestinationRowStart(const FrameClip& clip, uint32_t* dst, int32_t pitch, int32_t row);

}  // namespace qz::truecolour
