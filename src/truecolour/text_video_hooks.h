#pragma once
// The game's glyph drawing, colour-mask set-up and video output, switched to 32-bit colour.
// DrawGlyph replaces the game's routine in its own convention (this-call on the font, callee
// removes the arguments). The others wrap a game routine: they get the SplicerHook first, then the
// routine's arguments (the object first for a this-call), and call the routine through the hook.
#include <windows.h>

#include <cstdint>

#include "core/game_call.h"
#include "core/splicer.h"

namespace qz::truecolour {

// The 32-bit colours of the first font drawn, on the game's heap for the life of the process;
// null until then.
extern uint32_t* FontPalette32;

QZ_GAME_METHODS_BEGIN
QZ_THISCALL void DrawGlyph(const void* font, uint32_t character, void* bitmap, int32_t x, int32_t y,
                           uint32_t colourIndex);
QZ_GAME_METHODS_END

// The game's colour-format set-up, a register call: the first two masks in ECX and EDX, the third
// on the stack.
int32_t WINAPI ForceColourFormat(core::SplicerHook* hook, uint32_t red_mask, uint32_t green_mask,
                                 uint32_t blue_mask);

// A this-call of the game that reads its colour-mask variables.
int32_t WINAPI OverrideColourMasks(core::SplicerHook* hook, void* object, uint32_t first,
                                   uint32_t second);

// The video decoder's output-buffer routine, behind a pointer slot.
int32_t WINAPI RedirectVideoOutput(core::SplicerHook* hook, void* video, int32_t left, int32_t top,
                                   int32_t pitch, int32_t height, void* buffer, uint32_t flags);

// The video decoder's frame routine, behind a pointer slot.
int32_t WINAPI ConvertVideoFrame(core::SplicerHook* hook, void* video);

// The call that places the video rectangle, a this-call.
int32_t WINAPI OffsetVideoRectangle(core::SplicerHook* hook, void* object, int32_t x, int32_t y,
                                    int32_t w, int32_t h);

}  // namespace qz::truecolour
