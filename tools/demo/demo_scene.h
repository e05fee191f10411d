#pragma once
// The play-through's scene, drawn as the game draws it: through the game's own routines, which the
// plug-in has replaced. Map tiles, shadows, trees, buildings, units with flag banners and a
// selection ring as sprite frames in all four layouts; a panel bitmap filled, outlined, darkened,
// tinted, with a minimap (8-bit image), a portrait (24-bit image) and text, then copied into the
// frame. Each step moves the units.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "game/game_session.h"

namespace demo {

struct Scene;

// The art and the game's objects for it; after Start, so the game's routines are the plug-in's.
std::shared_ptr<Scene> MakeScene();

// Draws scene step `step` into the frame and returns the inclusive rectangles that changed since
// the previous step (the whole frame at step 0).
std::vector<RECT> DrawScene(Scene& scene, const standin::game::LockedSurface& frame, int32_t step);

}  // namespace demo
