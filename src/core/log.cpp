#include "core/log.h"

#include <windows.h>

#include <cstdint>

#include "core/game_call.h"
#include "core/splicer.h"

namespace qz::core {

void LogLine(const char* text) {
  const int32_t routine = ReadVariable("QZ.Func.LOG_WRITE");
  if (routine == 0) return;
  // The host's routine leaves its argument for the caller to remove.
  using LogRoutine = void(__cdecl*)(const char*);
  At<LogRoutine>(static_cast<uint32_t>(routine))(text);
}

}  // namespace qz::core
