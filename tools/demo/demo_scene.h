#pragma once
// The play-through's scene: a tiled map with diagonal field borders, roads, units with outlines,
// shadows and flag colours, and a panel; each frame moves the units a little.
#include <cstdint>

#include "game/game_session.h"

namespace demo {

// Draws scene frame `step` into the locked frame surface and returns the inclusive rectangle
// that changed since the previous step (the whole frame at step 0).
RECT DrawScene(const standin::game::LockedSurface& frame, int32_t width, int32_t height,
               int32_t step);

}  // namespace demo
