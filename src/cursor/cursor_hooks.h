#pragma once
// The replacements of the game's cursor routines and of its window procedure.
#include <windows.h>

#include <cstdint>

#include "core/game_call.h"
#include "core/splicer.h"

namespace qz::cursor {

// Methods of the game's mouse manager, in the game's own convention (object in ECX, the callee
// removes the arguments).
QZ_GAME_METHODS_BEGIN
QZ_THISCALL void N_SetCursor(void* object, int32_t frame, int32_t type);
QZ_THISCALL void N_SetCursorFrame(void* object, int32_t frame);
QZ_GAME_METHODS_END

// The guards get their hook first. Each passes on what the game's routine returns, 0 when the
// routine is skipped.
uint32_t WINAPI N_IfDefaultCursor(core::SplicerHook* hook, void* object, int32_t argument);
uint32_t WINAPI N_MarkUnlessDefault(core::SplicerHook* hook, void* object);
uint32_t WINAPI N_UnderDefaultCursor(core::SplicerHook* hook, void* object, int32_t argument);

LRESULT WINAPI N_WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace qz::cursor
