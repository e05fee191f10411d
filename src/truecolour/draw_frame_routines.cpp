#include "truecolour/draw_frame_routines.h"

#include <cstddef>

#include "truecolour/palette32.h"

namespace qz::truecolour {
namespace {

constexpr RunRule kDeepShadow{RunOperation::kDark75};
constexpr RunRule kLightShadow{RunOperation::kDark50};

RunRule FillWith(uint16_t colour) {
  return {RunOperation::kFill, PixelFromRgb565(colour)};
}

// Rules whose runs all leave the destination alone until a drawer names some.
SegmentRules RulesWithRaw(RawOperation raw) {
  SegmentRules rules;
  rules.raw = raw;
  return rules;
}

}  // namespace

void DrawFrame(const FrameDescription& frame, const FrameRequest& request, bool mirror,
               bool transparentRuns) {
  switch (frame.type) {
    case 0:
    case 2:
      return DrawFrameOpaque(frame, request, mirror, false);
    case 3:
      return DrawFrameFlagged(frame, request, mirror, 0);
    case 1:
      break;
    default:
      return;
  }
  BuildPalette32(request.palette);
  SegmentRules rules = RulesWithRaw(RawOperation::kCopy);
  if (!transparentRuns) {
    for (size_t index = 0; index < rules.runs.size(); ++index) {
      rules.runs[index] = {RunOperation::kFill, Palette32[index]};
    }
  }
  DecodeFrame(frame, request, mirror, false, rules);
}

void DrawFrameShaded(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                     uint16_t flagColour, bool half) {
  switch (frame.type) {
    case 0:
    case 2:
      if (!half) DrawFrameOpaque(frame, request, mirror, false);
      return;
    case 3:
      if (!half) DrawFrameFlagged(frame, request, mirror, flagColour);
      return;
    case 1:
      break;
    default:
      return;
  }
  BuildPalette32(request.palette);
  SegmentRules rules = RulesWithRaw(half ? RawOperation::kHalf : RawOperation::kCopy);
  rules.runs[1] = kDeepShadow;
  rules.runs[4] = kLightShadow;
  if (flagColour == 0) {
    // Without a flag colour its indices are shadows too.
    rules.runs[7] = kDeepShadow;
    rules.runs[6] = kLightShadow;
  } else {
    rules.runs[5] = rules.runs[6] = rules.runs[7] = FillWith(flagColour);
  }
  DecodeFrame(frame, request, mirror, false, rules);
}

void DrawFrameFlagged(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                      uint16_t flagColour) {
  switch (frame.type) {
    case 0:
    case 2:
      return DrawFrameOpaque(frame, request, mirror, false);
    case 1:
      return DrawFrameShaded(frame, request, mirror, flagColour, false);
    case 3:
      break;
    default:
      return;
  }
  BuildPalette32(request.palette);
  SegmentRules rules = RulesWithRaw(RawOperation::kCopy);
  if (flagColour != 0) rules.runs[5] = FillWith(flagColour);
  DecodeFrame(frame, request, mirror, false, rules);
}

void DrawFrameFlaggedHalf(const FrameDescription& frame, const FrameRequest& request,
                          uint16_t flagColour, bool mirror) {
  if (frame.type != 3) return;
  BuildPalette32(request.palette);
  SegmentRules rules = RulesWithRaw(RawOperation::kHalf);
  if (flagColour != 0) rules.runs[5] = {RunOperation::kHalf, PixelFromRgb565(flagColour)};
  DecodeFrame(frame, request, mirror, false, rules);
}

void DrawFrameShadowPacked(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                           SpecialColourCallback callback) {
  if (frame.type != 3) return;
  SegmentRules rules = RulesWithRaw(RawOperation::kSkip);
  rules.runs[1] = kDeepShadow;
  rules.runs[4] = kLightShadow;
  rules.callback = callback;
  DecodeFrame(frame, request, mirror, false, rules);
}

void DrawFrameOpaque(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                     bool flip) {
  switch (frame.type) {
    case 1:
      return DrawFrame(frame, request, mirror, true);
    case 3:
      return DrawFrameFlagged(frame, request, mirror, 0);
    case 0:
    case 2:
      break;
    default:
      return;
  }
  BuildPalette32(request.palette);
  DecodeFrame(frame, request, mirror, flip, RulesWithRaw(RawOperation::kCopy));
}

void DrawFrameShadowRows(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                         bool flip) {
  if (frame.type != 2) return;
  SegmentRules rules = RulesWithRaw(RawOperation::kSkip);
  rules.runs[1] = rules.runs[2] = kDeepShadow;
  rules.runs[3] = rules.runs[4] = kLightShadow;
  DecodeFrame(frame, request, mirror, flip, rules);
}

void DrawFrameHalf(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                   bool half) {
  if (!half) return DrawFrame(frame, request, mirror, true);
  switch (frame.type) {
    case 0:
    case 2:
      return DrawFrameOpaque(frame, request, mirror, false);
    case 3:
      return DrawFrameFlaggedHalf(frame, request, 0, mirror);
    case 1:
      break;
    default:
      return;
  }
  BuildPalette32(request.palette);
  DecodeFrame(frame, request, mirror, false, RulesWithRaw(RawOperation::kHalf));
}

}  // namespace qz::truecolour
