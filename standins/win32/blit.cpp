// Block transfers and pixel reads: BitBlt, PatBlt, GetDIBits and GetPixel over real pixels,
// clipped to the surfaces and, for paint DCs, to the paint rectangle.
#include <algorithm>
#include <cstring>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kWhite = 0x00FFFFFF;  // also the default brush of a new DC

struct Target {
  Surface surface;
  RECT clip;  // surface coordinates
};

RECT Intersection(const RECT& a, const RECT& b) {
  RECT both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  both.right = std::max(both.right, both.left);
  both.bottom = std::max(both.bottom, both.top);
  return both;
}

RECT Offset(const RECT& rect, LONG dx, LONG dy) {
  return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

// The pixels a DC draws into; false (with the error set) for a DC without any: the screen DC,
// or a memory DC still holding its 1 x 1 stock bitmap.
bool TargetOf(World& world, HDC hdc, Target* target) {
  const DeviceContext* dc = LookUpDeviceContext(world, hdc);
  if (dc == nullptr) return false;
  switch (dc->kind) {
    case DeviceContext::Kind::kMemory: {
      if (dc->bitmap == world.stock_bitmap) break;
      target->surface = world.bitmaps[dc->bitmap].surface;
      target->clip = RECT{0, 0, target->surface.width, target->surface.height};
      return true;
    }
    case DeviceContext::Kind::kWindow:
    case DeviceContext::Kind::kPaint: {
      Window* window = LookUpWindow(world, dc->window);
      if (window == nullptr) return false;
      target->surface = ClientSurface(*window);
      target->clip = RECT{0, 0, target->surface.width, target->surface.height};
      if (dc->kind == DeviceContext::Kind::kPaint)
        target->clip = Intersection(target->clip, dc->clip);
      return true;
    }
    case DeviceContext::Kind::kScreen:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

// Negative extents count back from the given corner.
RECT Normalised(int x, int y, int width, int height) {
  if (width < 0) {
    x += width;
    width = -width;
  }
  if (height < 0) {
    y += height;
    height = -height;
  }
  return RECT{x, y, x + width, y + height};
}

void SetMonochrome(const Surface& surface, int x, int y, bool white) {
  uint8_t& byte = surface.Row(y)[x / 8];
  const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
  byte = static_cast<uint8_t>(white ? byte | bit : byte & ~bit);
}

void Fill(const Target& target, const RECT& area, bool white) {
  const RECT inside = Intersection(area, target.clip);
  for (LONG y = inside.top; y < inside.bottom; ++y) {
    if (target.surface.bits_per_pixel == 32) {
      uint32_t* row = reinterpret_cast<uint32_t*>(target.surface.Row(y));
      std::fill(row + inside.left, row + inside.right, white ? kWhite : kBlack);
    } else {
      for (LONG x = inside.left; x < inside.right; ++x) SetMonochrome(target.surface, x, y, white);
    }
  }
}

// The raster operations that need no source: black, white and the (white) brush.
bool IsPatternFill(DWORD rop, bool* white) {
  *white = rop != BLACKNESS;
  return rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY;
}

// Copies the rows through a scratch buffer, so that source and destination may overlap.
void Copy(const Target& destination, const RECT& area, const Surface& source, LONG source_left,
          LONG source_top) {
  const size_t row_bytes = static_cast<size_t>(area.right - area.left) * 4;
  std::vector<uint8_t> rows(row_bytes * static_cast<size_t>(area.bottom - area.top));
  for (LONG y = area.top; y < area.bottom; ++y) {
    std::memcpy(rows.data() + row_bytes * static_cast<size_t>(y - area.top),
                source.Row(source_top + y - area.top) + source_left * 4, row_bytes);
  }
  for (LONG y = area.top; y < area.bottom; ++y) {
    std::memcpy(destination.surface.Row(y) + area.left * 4,
                rows.data() + row_bytes * static_cast<size_t>(y - area.top), row_bytes);
  }
}

template <typename Result>
Result Fail(DWORD error) {
  SetLastError(error);
  return Result{};
}

}  // namespace
}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

// SRCCOPY between 32-bit surfaces and the source-less fills. Only pixels whose source and
// destination both lie inside their surfaces (and the destination's clip) are written.
BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  auto lock = LockWorld();
  World& world = TheWorld();
  Target destination;
  if (!TargetOf(world, hdc, &destination)) return FALSE;
  bool white = false;
  if (IsPatternFill(rop, &white)) {
    Fill(destination, Normalised(x, y, cx, cy), white);
    return TRUE;
  }
  if (rop != SRCCOPY) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
  Target source;
  if (!TargetOf(world, hdcSrc, &source)) return FALSE;
  if (destination.surface.bits_per_pixel != 32 || source.surface.bits_per_pixel != 32) {
    return Fail<BOOL>(ERROR_INVALID_PARAMETER);
  }
  const RECT wanted = Normalised(x, y, cx, cy);
  const LONG dx = static_cast<LONG>(x1) - x;
  const LONG dy = static_cast<LONG>(y1) - y;
  const RECT source_bounds{0, 0, source.surface.width, source.surface.height};
  const RECT area =
      Intersection(Intersection(wanted, destination.clip), Offset(source_bounds, -dx, -dy));
  if (area.right > area.left && area.bottom > area.top) {
    Copy(destination, area, source.surface, area.left + dx, area.top + dy);
  }
  return TRUE;
}

// Source-less raster operations only, as documented; any operation naming a source fails.
BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  auto lock = LockWorld();
  World& world = TheWorld();
  Target target;
  if (!TargetOf(world, hdc, &target)) return FALSE;
  bool white = false;
  if (!IsPatternFill(rop, &white)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
  Fill(target, Normalised(x, y, w, h), white);
  return TRUE;
}

// 32-bit readback of a 32-bit bitmap. Scan line 0 is the first row of the requested layout:
// the bottom row for a positive height, the top row for a negative one.
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits,
                     LPBITMAPINFO lpbmi, UINT usage) {
  auto lock = LockWorld();
  World& world = TheWorld();
  if (LookUpDeviceContext(world, hdc) == nullptr) return 0;
  const Bitmap* bitmap = LookUpBitmap(world, hbm);
  if (bitmap == nullptr) return 0;
  if (lpbmi == nullptr || lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) ||
      usage != DIB_RGB_COLORS) {
    return Fail<int>(ERROR_INVALID_PARAMETER);
  }
  const Surface& surface = bitmap->surface;
  BITMAPINFOHEADER& header = lpbmi->bmiHeader;
  if (lpvBits == nullptr) {
    header.biWidth = surface.width;
    header.biHeight = surface.height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(surface.bits_per_pixel);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(surface.stride_bytes * surface.height);
    return surface.height;
  }
  if (header.biWidth != surface.width || header.biPlanes != 1 || header.biBitCount != 32 ||
      header.biCompression != BI_RGB || surface.bits_per_pixel != 32) {
    return Fail<int>(ERROR_INVALID_PARAMETER);
  }
  const bool top_down = header.biHeight < 0;
  const UINT height = static_cast<UINT>(surface.height);
  const UINT lines = start >= height ? 0 : std::min(cLines, height - start);
  const size_t row_bytes = static_cast<size_t>(surface.width) * 4;
  for (UINT line = 0; line < lines; ++line) {
    const UINT scan = start + line;
    const int image_row = static_cast<int>(top_down ? scan : height - 1 - scan);
    std::memcpy(static_cast<uint8_t*>(lpvBits) + row_bytes * line, surface.Row(image_row),
                row_bytes);
  }
  return static_cast<int>(lines);
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  auto lock = LockWorld();
  Target target;
  if (!TargetOf(TheWorld(), hdc, &target)) return CLR_INVALID;
  if (x < target.clip.left || x >= target.clip.right || y < target.clip.top ||
      y >= target.clip.bottom) {
    return CLR_INVALID;
  }
  if (target.surface.bits_per_pixel == 1) {
    const bool white = (target.surface.Row(y)[x / 8] & (0x80 >> (x % 8))) != 0;
    return white ? RGB(0xFF, 0xFF, 0xFF) : RGB(0, 0, 0);
  }
  const uint32_t pixel = reinterpret_cast<const uint32_t*>(target.surface.Row(y))[x];
  return RGB(pixel >> 16, pixel >> 8, pixel);
}

}  // extern "C"
