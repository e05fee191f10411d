#include "truecolour/bitmap_hooks.h"

// The bitmap routines take the game's arguments and return as the game's routines do; their 32-bit
// bodies are still to come, so for now a call draws nothing.
namespace qz::truecolour {

void* ConstructBitmap(void* bitmap, int32_t, int32_t) {
  return bitmap;
}

void* ConstructNamedBitmap(void* bitmap, const char*, int32_t, int32_t) {
  return bitmap;
}

void IgnoreOneArgument(void*, uint32_t) {}

void AttachBitmapBuffer(void*, int32_t, int32_t, int32_t, uint32_t*) {}

void DrawBitmapToBuffer(void*, int32_t, int32_t, int32_t, int32_t, uint32_t*, int32_t, int32_t,
                        int32_t, int32_t, int32_t, uint32_t) {}

void GrabBitmapFromBuffer(void*, const uint32_t*, int32_t, int32_t, int32_t, int32_t, int32_t) {}

void FillBitmapRectangle(void*, int32_t, int32_t, int32_t, int32_t, uint32_t) {}

void OutlineBitmapRectangle(void*, int32_t, int32_t, int32_t, int32_t, uint32_t) {}

void DarkenBitmapRectangle(void*, int32_t, int32_t, int32_t, int32_t) {}

void DarkenBitmapThroughMask(void*, int32_t, int32_t, int32_t, int32_t, const void*, int32_t,
                             int32_t) {}

void TintBitmapByColour(void*, int32_t, int32_t, int32_t, int32_t, uint32_t) {}

void TintBitmapByHue(void*, int32_t, int32_t, int32_t, int32_t, float, float) {}

void DrawImage24(const void*, int32_t, int32_t, int32_t, int32_t, uint32_t*, int32_t, int32_t,
                 int32_t, int32_t, int32_t) {}

void DrawImage8(const void*, int32_t, int32_t, int32_t, int32_t, uint32_t*, int32_t, int32_t,
                int32_t, int32_t, int32_t, uint32_t) {}

}  // namespace qz::truecolour
