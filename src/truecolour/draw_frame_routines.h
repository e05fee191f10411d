#pragma once
// The game's eight sprite-frame drawers in 32-bit colour. Each takes the game's own arguments after
// the common ones, in the game's order, and either draws the frame's type itself or hands the
// frame to the drawer that does, passing mirror (and flip where both take it) on.
//
// Byte flags arrive as bool (non-zero low byte); flag colours are RGB565 (the low 16 bits of the
// game's argument). Every drawer that writes palette colours rebuilds Palette32 from
// request.palette first, so no two draws may overlap.
#include <cstdint>

#include "truecolour/frame_decoders.h"
#include "truecolour/frame_description.h"

namespace qz::truecolour {

// Type 1; runs are transparent or painted in their index's palette colour.
void DrawFrame(const FrameDescription& frame, const FrameRequest& request, bool mirror,
               bool transparentRuns);

// Type 1 with shadows and a flag colour, raw pixels optionally half-transparent.
void DrawFrameShaded(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                     uint16_t flagColour, bool half);

// Type 3; code-5 runs take the flag colour.
void DrawFrameFlagged(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                      uint16_t flagColour);

// Type 3, everything half-transparent. Mirror comes last, as in the game.
void DrawFrameFlaggedHalf(const FrameDescription& frame, const FrameRequest& request,
                          uint16_t flagColour, bool mirror);

// Type 3 shadows only, runs offered to `callback` first; never reads the palette.
void DrawFrameShadowPacked(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                           SpecialColourCallback callback);

// Types 0 and 2, raw pixels only, with a vertical flip.
void DrawFrameOpaque(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                     bool flip);

// Type 2 shadows only, with a vertical flip; never reads the palette.
void DrawFrameShadowRows(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                         bool flip);

// Type 1 half-transparent; without `half` every type goes to DrawFrame with transparent runs.
void DrawFrameHalf(const FrameDescription& frame, const FrameRequest& request, bool mirror,
                   bool half);

}  // namespace qz::truecolour
