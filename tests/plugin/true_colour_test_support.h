#pragma once
// Start-up as the host runs it for the true-colour tests, with what the drawing hooks read
// published first.
#include <cstdint>
#include <optional>

#include "game/game_image.h"
#include "game/host_modification.h"
#include "splicer/splicer_library.h"
#include "startup/start.h"
#include "win32/win32_world.h"

namespace qz::testing {

// Boots the host with `settings`, publishes the special-colour shadow routine when given, and
// calls Start.
inline void StartTrueColour(const standin::host::Settings& settings,
                            std::optional<uint32_t> special_colour_routine = {}) {
  win32::ResetWorld();
  startup::InitialiseProcessSettings();
  standin::host::Boot(settings);
  if (special_colour_routine) {
    standin::splicer::Publish("Tarn.ShadowDrawNewSpeccolorFunc",
                              static_cast<int32_t>(*special_colour_routine));
  }
  standin::host::CallStart();
}

}  // namespace qz::testing
