#include "present/display_objects.h"

#include <cstring>

#include "core/game_heap.h"
#include "core/settings.h"
#include "present/filter_selection.h"
#include "present/presentation.h"

namespace qz::present {

SurfaceObject* PrimarySurface = nullptr;

namespace {

constexpr int kBltSlot = 5;
constexpr uint32_t kGameWindowHandle = 0x699650;

template <typename Object>
Object* Field(void* base, int offset) {
  return reinterpret_cast<Object*>(static_cast<uint8_t*>(base) + offset);
}

// Unused slots hold markers of the object's byte (0xDD or 0xEE): three of it above the slot for
// slots 0 to 9 (0xDDDDDD07), and from 10 on two of it above the slot number's decimal digits read
// as hexadecimal (slot 22: 0xDDDD0022).
void* Marker(uint32_t marker_byte, int slot) {
  const uint32_t high = marker_byte * 0x01010000u;
  const uint32_t marker = slot < 10 ? high | marker_byte << 8 | static_cast<uint32_t>(slot)
                                    : high | static_cast<uint32_t>((slot / 10) * 16 + slot % 10);
  return reinterpret_cast<void*>(static_cast<uintptr_t>(marker));
}

// --- DisplayObject methods, IDirectDraw slot order -----------------------------------------

ULONG WINAPI ReleaseDisplay(DisplayObject* object) {
  core::GameRelease(object);
  return 0;
}
HRESULT WINAPI CreateClipper(DisplayObject*, DWORD, void**, void*) {
  return 0;
}
HRESULT WINAPI CreateSurface(DisplayObject*, void* description, SurfaceObject** out, void*);
HRESULT WINAPI RestoreDisplayMode(DisplayObject*) {
  return 0;
}
HRESULT WINAPI SetCooperativeLevel(DisplayObject*, HWND, DWORD) {
  return 0;
}
HRESULT WINAPI SetDisplayMode(DisplayObject*, DWORD, DWORD, DWORD) {
  return 0;
}

// --- SurfaceObject methods, IDirectDrawSurface slot order ----------------------------------

ULONG WINAPI ReleaseSurface(SurfaceObject*) {
  return 0;
}
HRESULT WINAPI Blt(SurfaceObject*, RECT*, void*, RECT*, DWORD, void*) {
  return 0;
}

HRESULT WINAPI GetPixelFormat(SurfaceObject*, void* format) {
  *Field<uint32_t>(format, 0) = 32;
  *Field<uint32_t>(format, 4) = 0x40;  // RGB; the four-character code stays as it was
  *Field<uint32_t>(format, 12) = 32;
  *Field<uint32_t>(format, 16) = 0xFF0000;
  *Field<uint32_t>(format, 20) = 0xFF00;
  *Field<uint32_t>(format, 24) = 0xFF;
  *Field<uint32_t>(format, 28) = 0;
  return 0;
}

HRESULT WINAPI GetSurfaceDesc(SurfaceObject*, void*) {
  return 0;
}
HRESULT WINAPI IsLost(SurfaceObject*) {
  return 0;
}

// Before any frame-sized surface exists there is nothing to lock: the game gets an error and no
// address, rather than a null pointer to draw through.
HRESULT WINAPI Lock(SurfaceObject*, RECT*, void* description, DWORD, HANDLE) {
  constexpr HRESULT kNotLocked = static_cast<HRESULT>(0x80004005);
  if (FrameImage == nullptr) return kNotLocked;
  *Field<uint32_t>(description, kDescriptionHeight) = static_cast<uint32_t>(FrameImage->height);
  *Field<uint32_t>(description, kDescriptionWidth) = static_cast<uint32_t>(FrameImage->width);
  *Field<int32_t>(description, kDescriptionPitch) = FrameImage->pitchBytes;
  *Field<void*>(description, kDescriptionSurface) = FrameImage->pixels;
  return 0;
}

HRESULT WINAPI Restore(SurfaceObject*) {
  return 0;
}
HRESULT WINAPI SetClipper(SurfaceObject*, void*) {
  return 0;
}
HRESULT WINAPI SetColorKey(SurfaceObject*, DWORD, void*) {
  return 0;
}
HRESULT WINAPI Unlock(SurfaceObject*, void*) {
  return 0;
}

template <typename Object, int Slots>
Object* NewObject(uint32_t marker_byte) {
  auto* object = static_cast<Object*>(core::GameAllocate(sizeof(Object)));
  if (object == nullptr) return nullptr;
  std::memset(object, 0, sizeof(Object));
  object->table = object->slots;
  for (int slot = 0; slot < Slots; ++slot) object->slots[slot] = Marker(marker_byte, slot);
  return object;
}

template <typename Routine>
void* Method(Routine routine) {
  return reinterpret_cast<void*>(routine);
}

DisplayObject* NewDisplayObject() {
  auto* object = NewObject<DisplayObject, kDisplaySlots>(0xDD);
  if (object == nullptr) return nullptr;
  object->slots[2] = Method(&ReleaseDisplay);
  object->slots[4] = Method(&CreateClipper);
  object->slots[6] = Method(&CreateSurface);
  object->slots[19] = Method(&RestoreDisplayMode);
  object->slots[20] = Method(&SetCooperativeLevel);
  object->slots[21] = Method(&SetDisplayMode);
  return object;
}

SurfaceObject* NewSurfaceObject() {
  auto* object = NewObject<SurfaceObject, kSurfaceSlots>(0xEE);
  if (object == nullptr) return nullptr;
  object->slots[2] = Method(&ReleaseSurface);
  object->slots[kBltSlot] = Method(&Blt);
  object->slots[21] = Method(&GetPixelFormat);
  object->slots[22] = Method(&GetSurfaceDesc);
  object->slots[24] = Method(&IsLost);
  object->slots[25] = Method(&Lock);
  object->slots[27] = Method(&Restore);
  object->slots[28] = Method(&SetClipper);
  object->slots[29] = Method(&SetColorKey);
  object->slots[32] = Method(&Unlock);
  return object;
}

void* BltRoutine(bool one_to_one) {
  return one_to_one ? Method(&OneToOnePresent) : Method(PresentRoutine);
}

void MakePrimary(SurfaceObject* surface) {
  using namespace qz::core;
  PrimarySurface = surface;
  // At creation either side matching the frame counts.
  surface->slots[kBltSlot] = BltRoutine(dstW == srcW || dstH == srcH);
  ScreenW = GetSystemMetrics(SM_CXSCREEN);
  ScreenH = GetSystemMetrics(SM_CYSCREEN);
  if (DoubleImage != nullptr) return;
  const int32_t width = srcW * 2 > ScreenW ? srcW * 2 : ScreenW;
  const int32_t height = srcH * 2 > ScreenH ? srcH * 2 : ScreenH;
  CreateScaledImages(width, height);
  const auto window = *reinterpret_cast<HWND*>(uintptr_t{kGameWindowHandle});
  WindowDC = GetDC(window);
}

HRESULT WINAPI CreateSurface(DisplayObject*, void* description, SurfaceObject** out, void*) {
  SurfaceObject* surface = NewSurfaceObject();
  *out = surface;
  if (surface == nullptr) return static_cast<HRESULT>(0x8007000E);  // out of memory
  if ((*Field<uint32_t>(description, kDescriptionCaps) & kPrimarySurfaceCap) != 0) {
    MakePrimary(surface);
  } else if (*Field<int32_t>(description, kDescriptionWidth) >= kNarrowestFrame &&
             FrameImage == nullptr) {
    FrameImage = CreateDibImage(*Field<int32_t>(description, kDescriptionWidth) + 4,
                                *Field<int32_t>(description, kDescriptionHeight) + 4);
  }
  return 0;
}

}  // namespace

HRESULT WINAPI CreateDisplayObject(void*, DisplayObject** out, void*) {
  DisplayObject* object = NewDisplayObject();
  *out = object;
  return object == nullptr ? static_cast<HRESULT>(0x8007000E) : 0;
}

void SelectPresent() {
  if (PrimarySurface == nullptr) return;
  PrimarySurface->slots[kBltSlot] =
      BltRoutine(core::dstW == core::srcW && core::dstH == core::srcH);
}

}  // namespace qz::present
