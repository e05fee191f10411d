#include "truecolour/sprite_hooks.h"

#include <windows.h>

#include "truecolour/draw_frame_routines.h"

namespace qz::truecolour {

uint32_t SpecialColourShadowRoutine = 0;

namespace {

using game::ByteFlag;
using game::ReadFrame;
using game::ReadRequest;
using game::Rgb565Argument;

using PublishedRoutine = int32_t(WINAPI*)(int32_t code, uint32_t** destination, int32_t count,
                                          int32_t step);

// The context is the published routine itself.
int32_t CallPublishedRoutine(void* context, int32_t code, uint32_t** destination, int32_t count,
                             int32_t step) {
  return core::At<PublishedRoutine>(context)(code, destination, count, step);
}

SpecialColourCallback PublishedCallback() {
  if (SpecialColourShadowRoutine == 0) return {};
  return {&CallPublishedRoutine, reinterpret_cast<void*>(uintptr_t{SpecialColourShadowRoutine})};
}

}  // namespace

void DrawFrameHook(const void* frame, game::FrameArguments arguments, uint32_t mirror,
                   uint32_t transparentRuns) {
  DrawFrame(ReadFrame(frame), ReadRequest(arguments), ByteFlag(mirror), ByteFlag(transparentRuns));
}

void DrawFrameShadedHook(const void* frame, game::FrameArguments arguments, uint32_t mirror,
                         uint32_t flagColour, uint32_t half) {
  DrawFrameShaded(ReadFrame(frame), ReadRequest(arguments), ByteFlag(mirror),
                  Rgb565Argument(flagColour), ByteFlag(half));
}

void DrawFrameFlaggedHook(const void* frame, game::FrameArguments arguments, uint32_t mirror,
                          uint32_t flagColour) {
  DrawFrameFlagged(ReadFrame(frame), ReadRequest(arguments), ByteFlag(mirror),
                   Rgb565Argument(flagColour));
}

void DrawFrameFlaggedHalfHook(const void* frame, game::FrameArguments arguments,
                              uint32_t flagColour, uint32_t mirror) {
  DrawFrameFlaggedHalf(ReadFrame(frame), ReadRequest(arguments), Rgb565Argument(flagColour),
                       ByteFlag(mirror));
}

void DrawFrameShadowPackedHook(const void* frame, game::FrameArguments arguments, uint32_t mirror) {
  DrawFrameShadowPacked(ReadFrame(frame), ReadRequest(arguments), ByteFlag(mirror),
                        PublishedCallback());
}

void DrawFrameOpaqueHook(const void* frame, game::FrameArguments arguments, uint32_t mirror,
                         uint32_t flip) {
  DrawFrameOpaque(ReadFrame(frame), ReadRequest(arguments), ByteFlag(mirror), ByteFlag(flip));
}

void DrawFrameShadowRowsHook(const void* frame, game::FrameArguments arguments, uint32_t mirror,
                             uint32_t flip) {
  DrawFrameShadowRows(ReadFrame(frame), ReadRequest(arguments), ByteFlag(mirror), ByteFlag(flip));
}

void DrawFrameHalfHook(const void* frame, game::FrameArguments arguments, uint32_t mirror,
                       uint32_t half) {
  DrawFrameHalf(ReadFrame(frame), ReadRequest(arguments), ByteFlag(mirror), ByteFlag(half));
}

}  // namespace qz::truecolour
