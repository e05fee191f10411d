// Cursors and icons: made from bitmaps or resources, destroyed, read back as bitmaps, and the
// process's cursor with its display counter.
#include "win32/world_state.h"

namespace qz::win32 {
namespace {

// Rows of device-dependent bitmaps end on a 16-bit boundary.
int MonochromeStride(int width) {
  return (width + 15) / 16 * 2;
}

bool MaskBit(const Surface& surface, int x, int y) {
  return (surface.Row(y)[x / 8] & (0x80 >> (x % 8))) != 0;
}

// The pictures of a colour cursor: a 32-bit colour bitmap and a monochrome mask of its size.
// Cursors without colour (the mask holding both halves) are not made here.
bool ReadPictures(World& world, const ICONINFO& info, CursorFrame* frame, int* width, int* height) {
  const Bitmap* colour = LookUpBitmap(world, info.hbmColor);
  const Bitmap* mask = LookUpBitmap(world, info.hbmMask);
  if (colour == nullptr || mask == nullptr) return false;
  const Surface& pixels = colour->surface;
  const Surface& bits = mask->surface;
  if (pixels.bits_per_pixel != 32 || bits.bits_per_pixel != 1 || bits.width != pixels.width ||
      bits.height != pixels.height) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  *width = pixels.width;
  *height = pixels.height;
  for (int y = 0; y < pixels.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(pixels.Row(y));
    frame->colour.insert(frame->colour.end(), row, row + pixels.width);
    for (int x = 0; x < pixels.width; ++x) frame->mask.push_back(MaskBit(bits, x, y) ? 1 : 0);
  }
  return true;
}

BOOL Destroy(HCURSOR handle) {
  auto lock = LockWorld();
  World& world = TheWorld();
  const auto found = world.cursors.find(handle);
  if (found == world.cursors.end()) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  if (found->second.shared) Fatal("a shared cursor (from LoadCursorA) was destroyed");
  // Windows lets the cursor on screen be destroyed: it stays shown until the next SetCursor,
  // and GetCursor keeps answering its now invalid handle.
  world.cursors.erase(found);
  return TRUE;
}

}  // namespace

HCURSOR AddCursor(World& world, Cursor cursor) {
  if (world.cursors.size() >= world.user_quota) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const HCURSOR handle = NewHandle<HCURSOR>(world);
  world.cursors[handle] = std::move(cursor);
  return handle;
}

void SetUserObjectQuota(size_t count) {
  auto lock = LockWorld();
  TheWorld().user_quota = count;
}

size_t LiveCursorCount() {
  auto lock = LockWorld();
  return TheWorld().cursors.size();
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

// The pictures are copied: the caller keeps and may reuse or delete both bitmaps. An icon's hot
// spot is its centre.
HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
  if (piconinfo == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto lock = LockWorld();
  World& world = TheWorld();
  Cursor cursor;
  cursor.frames.resize(1);
  if (!ReadPictures(world, *piconinfo, &cursor.frames[0], &cursor.width, &cursor.height)) {
    return nullptr;
  }
  cursor.is_icon = piconinfo->fIcon != FALSE;
  cursor.hot_spot = cursor.is_icon ? POINT{cursor.width / 2, cursor.height / 2}
                                   : POINT{static_cast<LONG>(piconinfo->xHotspot),
                                           static_cast<LONG>(piconinfo->yHotspot)};
  return AddCursor(world, std::move(cursor));
}

// New bitmaps of the first picture, which the caller deletes: a 32-bit colour bitmap and the
// monochrome mask.
BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
  Cursor copy;
  {
    auto lock = LockWorld();
    World& world = TheWorld();
    const auto found = world.cursors.find(hIcon);
    if (found == world.cursors.end()) {
      SetLastError(ERROR_INVALID_CURSOR_HANDLE);
      return FALSE;
    }
    if (piconinfo == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    copy = found->second;
  }
  const CursorFrame& frame = copy.frames[0];
  const int stride = MonochromeStride(copy.width);
  std::vector<uint8_t> mask(static_cast<size_t>(stride) * copy.height);
  for (int y = 0; y < copy.height; ++y) {
    for (int x = 0; x < copy.width; ++x) {
      if (frame.mask[static_cast<size_t>(y) * copy.width + x] != 0) {
        mask[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  const HBITMAP colour = CreateBitmap(copy.width, copy.height, 1, 32, frame.colour.data());
  const HBITMAP mask_bitmap = CreateBitmap(copy.width, copy.height, 1, 1, mask.data());
  if (colour == nullptr || mask_bitmap == nullptr) {
    if (colour != nullptr) DeleteObject(colour);
    if (mask_bitmap != nullptr) DeleteObject(mask_bitmap);
    return FALSE;
  }
  *piconinfo = ICONINFO{copy.is_icon ? TRUE : FALSE, static_cast<DWORD>(copy.hot_spot.x),
                        static_cast<DWORD>(copy.hot_spot.y), mask_bitmap, colour};
  return TRUE;
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
  return Destroy(hIcon);
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) {
  return Destroy(hCursor);
}

// Null hides the cursor; an unknown handle changes nothing.
HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
  auto lock = LockWorld();
  World& world = TheWorld();
  if (hCursor != nullptr && world.cursors.count(hCursor) == 0) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return nullptr;
  }
  const HCURSOR previous = world.current_cursor;
  world.current_cursor = hCursor;
  return previous;
}

HCURSOR WINAPI GetCursor(void) {
  auto lock = LockWorld();
  return TheWorld().current_cursor;
}

// With a mouse installed the counter starts at 0; the cursor shows while it is not negative.
int WINAPI ShowCursor(BOOL bShow) {
  auto lock = LockWorld();
  World& world = TheWorld();
  world.cursor_display_count += bShow != FALSE ? 1 : -1;
  return world.cursor_display_count;
}

BOOL WINAPI GetCursorInfo(PCURSORINFO pci) {
  if (pci == nullptr || pci->cbSize != sizeof(CURSORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto lock = LockWorld();
  const World& world = TheWorld();
  pci->flags = world.cursor_display_count >= 0 ? CURSOR_SHOWING : 0;
  pci->hCursor = world.current_cursor;
  pci->ptScreenPos = world.cursor;
  return TRUE;
}

}  // extern "C"
