#include "truecolour/text_video_hooks.h"

// These take the game's arguments and return as the game's routines do; their 32-bit bodies are
// still to come, so for now glyphs are not drawn and the wrapped routines run unchanged.
namespace qz::truecolour {

void DrawGlyph(const void*, uint32_t, void*, int32_t, int32_t, uint32_t) {}

int32_t WINAPI ForceColourFormat(core::SplicerHook* hook, uint32_t red_mask, uint32_t green_mask,
                                 uint32_t blue_mask) {
  using Routine = int32_t(__attribute__((fastcall))*)(uint32_t, uint32_t, uint32_t);
  return core::At<Routine>(core::OriginalFunction(hook))(red_mask, green_mask, blue_mask);
}

int32_t WINAPI OverrideColourMasks(core::SplicerHook* hook, void* object, uint32_t first,
                                   uint32_t second) {
  using Routine = core::ThisCall<int32_t, uint32_t, uint32_t>;
  return core::At<Routine>(core::OriginalFunction(hook))(object, first, second);
}

int32_t WINAPI RedirectVideoOutput(core::SplicerHook* hook, void* video, int32_t left, int32_t top,
                                   int32_t pitch, int32_t height, void* buffer, uint32_t flags) {
  using Routine = int32_t(WINAPI*)(void*, int32_t, int32_t, int32_t, int32_t, void*, uint32_t);
  return core::At<Routine>(core::OriginalFunction(hook))(video, left, top, pitch, height, buffer,
                                                         flags);
}

int32_t WINAPI ConvertVideoFrame(core::SplicerHook* hook, void* video) {
  using Routine = int32_t(WINAPI*)(void*);
  return core::At<Routine>(core::OriginalFunction(hook))(video);
}

int32_t WINAPI OffsetVideoRectangle(core::SplicerHook* hook, void* object, int32_t x, int32_t y,
                                    int32_t w, int32_t h) {
  using Routine = core::ThisCall<int32_t, int32_t, int32_t, int32_t, int32_t>;
  return core::At<Routine>(core::OriginalFunction(hook))(object, x, y, w, h);
}

}  // namespace qz::truecolour
