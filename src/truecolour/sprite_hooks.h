#pragma once
// The game's eight sprite-frame routines, replaced. Each is entered as the game's own routine
// (this-call on the frame object, callee removes the arguments), reads the frame object and its
// arguments into plain records and draws through the 32-bit drawers.
#include <cstdint>

#include "core/game_call.h"
#include "truecolour/game_frame.h"

namespace qz::truecolour {

// The special-colour shadow routine another modification publishes: a standard call taking
// (code, address of the destination pointer, count, step). 0 when there is none.
extern uint32_t SpecialColourShadowRoutine;

QZ_GAME_METHODS_BEGIN
QZ_THISCALL void DrawFrameHook(const void* frame, game::FrameArguments arguments, uint32_t mirror,
                               uint32_t transparentRuns);
QZ_THISCALL void DrawFrameShadedHook(const void* frame, game::FrameArguments arguments,
                                     uint32_t mirror, uint32_t flagColour, uint32_t half);
QZ_THISCALL void DrawFrameFlaggedHook(const void* frame, game::FrameArguments arguments,
                                      uint32_t mirror, uint32_t flagColour);
QZ_THISCALL void DrawFrameFlaggedHalfHook(const void* frame, game::FrameArguments arguments,
                                          uint32_t flagColour, uint32_t mirror);
QZ_THISCALL void DrawFrameShadowPackedHook(const void* frame, game::FrameArguments arguments,
                                           uint32_t mirror);
QZ_THISCALL void DrawFrameOpaqueHook(const void* frame, game::FrameArguments arguments,
                                     uint32_t mirror, uint32_t flip);
QZ_THISCALL void DrawFrameShadowRowsHook(const void* frame, game::FrameArguments arguments,
                                         uint32_t mirror, uint32_t flip);
QZ_THISCALL void DrawFrameHalfHook(const void* frame, game::FrameArguments arguments,
                                   uint32_t mirror, uint32_t half);
QZ_GAME_METHODS_END

}  // namespace qz::truecolour
