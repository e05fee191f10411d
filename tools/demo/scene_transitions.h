#pragma once
// The game's screen transitions played on the frame, as the game plays them on its screen bitmap:
// a fade out and back in, then a cross-fade from the picture before a few scene steps to the
// picture after them.
#include <cstdint>
#include <functional>

#include "game/game_session.h"

namespace demo {

// `on_present(name, n)` runs at the n-th present (from 1) of the transition called `name`
// ("fade-out", "fade-in", "cross-fade"); `step` draws and presents the next scene step.
void RunTransitions(const standin::game::LockedSurface& frame,
                    const std::function<void(const char* name, int32_t present)>& on_present,
                    const std::function<void()>& step);

}  // namespace demo
