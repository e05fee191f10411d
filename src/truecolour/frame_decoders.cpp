#include "truecolour/frame_decoders.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "truecolour/frame_clip.h"
#include "truecolour/palette32.h"
#include "truecolour/pixel_operations.h"

namespace qz::truecolour {
namespace {

// The destination pointer of one row. With mirror it points just right of the next pixel and
// moves left before each write.
template <bool Mirror>
struct PixelWalk {
  static constexpr int32_t kStep = Mirror ? -1 : 1;
  uint32_t* pixel = nullptr;

  uint32_t& Next() {
    if constexpr (Mirror) return *--pixel;
    return *pixel++;
  }
  void Pass(int32_t count) { pixel += kStep * count; }
};

// `operation(i, pixel)` gives the new value of the i-th pixel of the span; eight pixels per step
// so the fixed inner loop unrolls, then the remainder.
template <bool Mirror, class Operation>
void ApplySpan(PixelWalk<Mirror>& walk, int32_t count, Operation operation) {
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    for (int32_t k = 0; k < 8; ++k) {
      uint32_t& pixel = walk.Next();
      pixel = operation(i + k, pixel);
    }
  }
  for (; i < count; ++i) {
    uint32_t& pixel = walk.Next();
    pixel = operation(i, pixel);
  }
}

template <bool Mirror>
void ApplyRaw(PixelWalk<Mirror>& walk, const uint8_t* indices, int32_t count,
              RawOperation operation) {
  const uint32_t* const palette = Palette32.data();
  switch (operation) {
    case RawOperation::kCopy:
      ApplySpan(walk, count, [=](int32_t i, uint32_t) { return palette[indices[i]]; });
      return;
    case RawOperation::kHalf:
      ApplySpan(walk, count,
                [=](int32_t i, uint32_t pixel) { return Half(palette[indices[i]], pixel); });
      return;
    case RawOperation::kSkip:
      walk.Pass(count);
      return;
  }
}

template <bool Mirror>
void ApplyRun(PixelWalk<Mirror>& walk, RunRule rule, int32_t count) {
  const uint32_t colour = rule.colour;
  switch (rule.operation) {
    case RunOperation::kSkip:
      walk.Pass(count);
      return;
    case RunOperation::kFill:
      ApplySpan(walk, count, [=](int32_t, uint32_t) { return colour; });
      return;
    case RunOperation::kDark75:
      ApplySpan(walk, count, [](int32_t, uint32_t pixel) { return Dark75(pixel); });
      return;
    case RunOperation::kDark50:
      ApplySpan(walk, count, [](int32_t, uint32_t pixel) { return Dark50(pixel); });
      return;
    case RunOperation::kHalf:
      ApplySpan(walk, count, [=](int32_t, uint32_t pixel) { return Half(colour, pixel); });
      return;
  }
}

struct Segment {
  uint8_t key = 0;  // special index or code of a run
  int32_t count = 0;
  bool raw = false;
};

// Type 1: an index byte and count - 1; index 0xFF is a raw segment.
struct IndexSegments {
  static Segment Read(const uint8_t*& stream) {
    const Segment segment{stream[0], stream[1] + 1, stream[0] == 0xFF};
    stream += 2;
    return segment;
  }
};

// Types 2 and 3: the code in the top three bits, count - 1 in the low five; code 7 is raw.
struct PackedSegments {
  static Segment Read(const uint8_t*& stream) {
    const uint8_t byte = *stream++;
    const uint8_t code = static_cast<uint8_t>(byte >> 5);
    return {code, (byte & 31) + 1, code == 7};
  }
};

// Draws `width` pixels of a row from column `sx`; `stream` starts at the segment that begins at
// column `sum` (<= sx).
template <class Segments, bool Mirror>
void DrawSegmentRow(const uint8_t* stream, int32_t sum, int32_t sx, int32_t width,
                    PixelWalk<Mirror> walk, const SegmentRules& rules) {
  Segment segment = Segments::Read(stream);
  while (sum + segment.count <= sx) {
    sum += segment.count;
    if (segment.raw) stream += segment.count;
    segment = Segments::Read(stream);
  }
  if (segment.raw) stream += sx - sum;
  int32_t left_in_segment = segment.count - (sx - sum);
  for (int32_t remaining = width;;) {
    const int32_t count = std::min(left_in_segment, remaining);
    if (segment.raw) {
      ApplyRaw(walk, stream, count, rules.raw);
      stream += count;
    } else {
      const SpecialColourCallback& callback = rules.callback;
      const bool taken_over =
          callback.call != nullptr &&
          callback.call(callback.context, segment.key, &walk.pixel, count, walk.kStep) != 0;
      if (!taken_over) ApplyRun(walk, rules.runs[segment.key], count);
    }
    remaining -= count;
    if (remaining == 0) return;
    segment = Segments::Read(stream);
    left_in_segment = segment.count;
  }
}

// Offset tables may sit at any byte of the game's data.
template <class Offset>
const uint8_t* AtTableOffset(const uint8_t* data, ptrdiff_t entry) {
  Offset offset;
  std::memcpy(&offset, data + entry * static_cast<ptrdiff_t>(sizeof(Offset)), sizeof(Offset));
  return data + offset;
}

template <bool Mirror>
void DecodeClippedFrame(const FrameDescription& frame, const FrameClip& clip,
                        const FrameRequest& request, const SegmentRules& rules) {
  const uint8_t* const data = frame.data;
  const int32_t sx = clip.sx;
  const int32_t width = clip.w;
  const auto each_row = [&](auto draw_row) {
    for (int32_t row = 0; row < clip.h; ++row) {
      draw_row(clip.sy + row,
               PixelWalk<Mirror>{DestinationRowStart(clip, request.dst, request.pitch, row)});
    }
  };
  switch (frame.type) {
    case 0:
      each_row([&](int32_t y, PixelWalk<Mirror> walk) {
        ApplyRaw(walk, data + static_cast<ptrdiff_t>(y) * frame.rowStride + sx, width, rules.raw);
      });
      return;
    case 1:
      each_row([&](int32_t y, PixelWalk<Mirror> walk) {
        DrawSegmentRow<IndexSegments>(AtTableOffset<uint32_t>(data, y), 0, sx, width, walk, rules);
      });
      return;
    case 2:
      each_row([&](int32_t y, PixelWalk<Mirror> walk) {
        DrawSegmentRow<PackedSegments>(AtTableOffset<uint16_t>(data, y), 0, sx, width, walk, rules);
      });
      return;
    case 3: {
      // One stream per 32-pixel block, so a row is entered at the block holding sx.
      const int32_t blocks = frame.width / 32;
      const int32_t block = sx / 32;
      each_row([&](int32_t y, PixelWalk<Mirror> walk) {
        const ptrdiff_t entry = static_cast<ptrdiff_t>(y) * blocks + block;
        DrawSegmentRow<PackedSegments>(AtTableOffset<uint16_t>(data, entry), block * 32, sx, width,
                                       walk, rules);
      });
      return;
    }
    default:
      return;
  }
}

}  // namespace

void DecodeFrame(const FrameDescription& frame, const FrameRequest& request, bool mirror, bool flip,
                 const SegmentRules& rules) {
  if (frame.type == 3 && frame.width % 32 != 0) return;
  const std::optional<FrameClip> clip = ClipFrame(frame, request, mirror, flip);
  if (!clip) return;
  if (clip->mirror) {
    DecodeClippedFrame<true>(frame, *clip, request, rules);
  } else {
    DecodeClippedFrame<false>(frame, *clip, request, rules);
  }
}

}  // namespace qz::truecolour
