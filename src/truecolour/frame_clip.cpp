#include "truecolour/frame_clip.h"

#include <cstddef>

namespace qz::truecolour {
namespace {

struct AxisSpan {
  int32_t source = 0;
  int32_t length = 0;
  int32_t destination = 0;
};

// One axis of the clip. `reversed` (mirror or flip) means the destination runs against the source,
// so a cut at one destination end removes source pixels at the other.
AxisSpan ClipAxis(AxisSpan span, bool reversed, int32_t cell_length, int32_t destination_limit,
                  int32_t stored_start, int32_t stored_length) {
  if (reversed) span.source = cell_length - span.source - span.length;
  if (span.destination < 0) {
    if (!reversed) span.source -= span.destination;
    span.length += span.destination;
    span.destination = 0;
  }
  if (span.destination + span.length > destination_limit) {
    if (reversed) span.source += span.destination + span.length - destination_limit;
    span.length = destination_limit - span.destination;
  }
  if (span.source < stored_start) {
    const int32_t cut = stored_start - span.source;
    if (!reversed) span.destination += cut;
    span.length -= cut;
    span.source = stored_start;
  }
  const int32_t stored_end = stored_start + stored_length;
  if (span.source + span.length > stored_end) {
    if (reversed) span.destination += span.source + span.length - stored_end;
    span.length = stored_end - span.source;
  }
  span.source -= stored_start;
  return span;
}

}  // namespace

std::optional<FrameClip> ClipFrame(const FrameDescription& frame, const FrameRequest& request,
                                   bool mirror, bool flip) {
  const AxisSpan x = ClipAxis({request.srcX, request.w, request.destX}, mirror, frame.fullWidth,
                              request.destW, frame.left, frame.width);
  const AxisSpan y = ClipAxis({request.srcY, request.h, request.destY}, flip, frame.fullHeight,
                              request.destH, frame.top, frame.height);
  if (x.length <= 0 || y.length <= 0) return std::nullopt;
  return FrameClip{x.source,      y.source,      x.length, y.length,
                   x.destination, y.destination, mirror,   flip};
}

uint32_t* DestinationRowStart(const FrameClip& clip, uint32_t* dst, int32_t pitch, int32_t row) {
  const int32_t y = clip.flip ? clip.dy + clip.h - 1 - row : clip.dy + row;
  const int32_t x = clip.mirror ? clip.dx + clip.w : clip.dx;
  uint8_t* const row_bytes = reinterpret_cast<uint8_t*>(dst) + static_cast<ptrdiff_t>(y) * pitch;
  return reinterpret_cast<uint32_t*>(row_bytes) + x;
}

}  // namespace qz::truecolour
