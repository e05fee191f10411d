#include "truecolour/transition_hooks.h"

// The transitions take the game's arguments and return as the game's routines do; their 32-bit
// bodies are still to come, so for now the new picture simply replaces the old one.
namespace qz::truecolour {

void CrossFade(void*, int32_t, int32_t, int32_t, int32_t, int32_t) {}

void FadeOut(void*, uint32_t, uint32_t) {}

void FadeIn(void*, uint32_t) {}

}  // namespace qz::truecolour
