#pragma once
// The game's bitmap objects and its plain 24-bit and 8-bit image draws, replaced by routines that
// keep 4 bytes a pixel. Each is entered as the game's own routine: this-call on the object (the
// bitmap unless said), callee removes the arguments; byte arguments count by their low byte,
// colours by their low 16 bits (RGB565) unless said.
#include <cstdint>

#include "core/game_call.h"

namespace qz::truecolour {

QZ_GAME_METHODS_BEGIN
// Constructors return the object.
QZ_THISCALL void* ConstructBitmap(void* bitmap, int32_t width, int32_t height);
QZ_THISCALL void* ConstructNamedBitmap(void* bitmap, const char* name, int32_t width,
                                       int32_t height);
// A routine of the game that has nothing left to do in 32-bit colour.
QZ_THISCALL void IgnoreOneArgument(void* object, uint32_t ignored);
QZ_THISCALL void AttachBitmapBuffer(void* bitmap, int32_t width, int32_t height, int32_t pitch,
                                    uint32_t* pixels);
QZ_THISCALL void DrawBitmapToBuffer(void* bitmap, int32_t sx, int32_t sy, int32_t w, int32_t h,
                                    uint32_t* dst, int32_t dx, int32_t dy, int32_t destW,
                                    int32_t destH, int32_t dstPitch, uint32_t key);
QZ_THISCALL void GrabBitmapFromBuffer(void* bitmap, const uint32_t* src, int32_t x, int32_t y,
                                      int32_t srcW, int32_t srcH, int32_t srcPitch);
QZ_THISCALL void FillBitmapRectangle(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                                     uint32_t colour);
QZ_THISCALL void OutlineBitmapRectangle(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                                        uint32_t colour);
QZ_THISCALL void DarkenBitmapRectangle(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h);
QZ_THISCALL void DarkenBitmapThroughMask(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                                         const void* mask, int32_t maskX, int32_t maskY);
// `colour` is 24-bit RGB here.
QZ_THISCALL void TintBitmapByColour(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                                    uint32_t colour);
QZ_THISCALL void TintBitmapByHue(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                                 float hue, float saturation);
// The object is the 24-bit image.
QZ_THISCALL void DrawImage24(const void* image, int32_t sx, int32_t sy, int32_t w, int32_t h,
                             uint32_t* dst, int32_t dx, int32_t dy, int32_t destW, int32_t destH,
                             int32_t dstPitch);
// The object is the 8-bit image.
QZ_THISCALL void DrawImage8(const void* image, int32_t sx, int32_t sy, int32_t w, int32_t h,
                            uint32_t* dst, int32_t dx, int32_t dy, int32_t destW, int32_t destH,
                            int32_t dstPitch, uint32_t transparent);
QZ_GAME_METHODS_END

}  // namespace qz::truecolour
