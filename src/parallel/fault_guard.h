#pragma once
// Runs a band so that any fault inside it - an access violation or other hardware exception, or
// a C++ exception - ends the band early and is reported instead of ending the process. Used only
// by the start-up self-test; frames run unguarded.
#include <cstdint>

#include "parallel/band_dispatch.h"

namespace qz::parallel {

// Installs the process-wide exception handler for the life of the object; only threads inside
// RunGuardedBand are affected, every other exception goes on to the game's own handlers.
class FaultGuardScope {
 public:
  FaultGuardScope();
  ~FaultGuardScope();
  FaultGuardScope(const FaultGuardScope&) = delete;
  FaultGuardScope& operator=(const FaultGuardScope&) = delete;

 private:
  void* handler_;
};

// A BandRunner: false when the band faulted or threw.
bool RunGuardedBand(BandRoutine routine, const void* context, int32_t left, int32_t right,
                    int32_t top, int32_t bottom);

}  // namespace qz::parallel
