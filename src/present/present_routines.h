#pragma once
// Present routines: the shape of the primary surface's block transfer (surface, rectangle,
// source surface, source rectangle, flags, effects; result 0). Only the rectangle is used: left,
// top, right, bottom of the frame, right and bottom inclusive.
#include <windows.h>

#include <cstdint>

namespace qz::present {

using PresentRoutineType = HRESULT(WINAPI*)(void* surface, RECT* rectangle, void* source,
                                            RECT* source_rectangle, DWORD flags, void* effects);

// The routine of filter `index` (0..12).
PresentRoutineType PresentRoutineOf(int32_t index);

// Copies the rectangle of the frame to the window unscaled, for a picture of the frame's size.
HRESULT WINAPI OneToOnePresent(void* surface, RECT* rectangle, void* source, RECT* source_rectangle,
                               DWORD flags, void* effects);

}  // namespace qz::present
