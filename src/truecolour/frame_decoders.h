#pragma once
// Decoding of the four frame layouts straight into the destination. A drawer says what a raw
// (palette-index) pixel does and what a run of each special index or code does; the layouts, the
// entry into a row at its first drawn column and the walk are the same for every drawer.
//
// Frame data is trusted, as the game's own drawers trust it. The decoders assume that
//   - type 0 rows are rowStride bytes apart and hold at least `width` index bytes;
//   - every row offset of types 1 to 3 points into the data;
//   - the segments of a row add up to at least `width` pixels, and a type-3 block stream covers
//     its row from the block's first pixel to at least the row's `width`;
//   - a raw segment holds all its index bytes.
// Nothing is checked against the data's size: corrupt data makes the decoders read outside it.
// The destination must be addressable over 0..destW-1 × 0..destH-1 at the given pitch.
#include <array>
#include <cstdint>

#include "truecolour/frame_description.h"

namespace qz::truecolour {

enum class RawOperation : uint8_t {
  kCopy,  // Palette32[index]
  kHalf,  // Half(Palette32[index], pixel)
  kSkip,  // pixel unchanged; the index bytes are passed over
};

enum class RunOperation : uint8_t { kSkip, kFill, kDark75, kDark50, kHalf };

struct RunRule {
  RunOperation operation = RunOperation::kSkip;
  uint32_t colour = 0;  // of kFill and kHalf
};

// Another modification of the game may draw runs in its own special colours. `destination` is the
// address of the walk's pointer (with step -1 it points just right of the next pixel to write). A
// non-zero result means the callback drew all `count` pixels and moved the pointer past them; on
// zero the run's own rule follows from wherever the pointer was left. In the game the function is a
// standard call; the hook layer adapts it through `context`.
struct SpecialColourCallback {
  using Function = int32_t (*)(void* context, int32_t code, uint32_t** destination, int32_t count,
                               int32_t step);
  Function call = nullptr;
  void* context = nullptr;
};

struct SegmentRules {
  RawOperation raw = RawOperation::kCopy;
  std::array<RunRule, 256> runs{};  // by special index (type 1) or by code (types 2 and 3)
  SpecialColourCallback callback;   // when set, offered every run before its rule
};

// Draws the part of `frame` that `request` asks for, mirrored and flipped as asked, under `rules`
// (every type-0 pixel is raw). Draws nothing for a type outside 0..3, a type-3 frame whose width
// is not a multiple of 32, or a request that clips to nothing.
void DecodeFrame(const FrameDescription& frame, const FrameRequest& request, bool mirror, bool flip,
                 const SegmentRules& rules);

}  // namespace qz::truecolour
