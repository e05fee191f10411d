#pragma once
// The game's screen transitions, replaced by 32-bit ones. Each is entered as the game's own
// routine: this-call on the screen object, callee removes the arguments.
#include <cstdint>

#include "core/game_call.h"

namespace qz::truecolour {

QZ_GAME_METHODS_BEGIN
QZ_THISCALL void CrossFade(void* screen, int32_t x, int32_t y, int32_t w, int32_t h, int32_t delay);
// `restore` counts by its low byte.
QZ_THISCALL void FadeOut(void* screen, uint32_t ignored, uint32_t restore);
QZ_THISCALL void FadeIn(void* screen, uint32_t ignored);
QZ_GAME_METHODS_END

}  // namespace qz::truecolour
