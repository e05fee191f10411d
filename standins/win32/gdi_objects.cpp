// GDI objects: bitmaps (device-dependent ones and DIB sections) and memory device contexts.
#include <cstring>
#include <new>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr DWORD kV4HeaderSize = 108;
constexpr DWORD kV5HeaderSize = sizeof(BITMAPV5HEADER);
constexpr DWORD kRedMask = 0x00FF0000;
constexpr DWORD kGreenMask = 0x0000FF00;
constexpr DWORD kBlueMask = 0x000000FF;

// Rows of DIBs end on a 32-bit boundary, rows of device-dependent bitmaps on a 16-bit one.
int Stride(int width, int bits_per_pixel, int alignment_bits) {
  const int64_t bits = int64_t{width} * bits_per_pixel;
  return static_cast<int>((bits + alignment_bits - 1) / alignment_bits * alignment_bits / 8);
}

// Zeroed bits for `height` rows of `stride_bytes`; false when the memory is not there.
bool NewBitmap(int width, int height, int bits_per_pixel, int stride_bytes, bool top_down,
               Bitmap* bitmap) {
  const uint64_t bytes = uint64_t{static_cast<uint32_t>(stride_bytes)} * uint32_t(height);
  if (bytes > 0x7FFFFFFF) return false;
  bitmap->storage.reset(new (std::nothrow) uint32_t[(bytes + 3) / 4]());
  if (bitmap->storage == nullptr) return false;
  bitmap->surface = Surface{reinterpret_cast<uint8_t*>(bitmap->storage.get()),
                            width,
                            height,
                            stride_bytes,
                            bits_per_pixel,
                            top_down};
  return true;
}

// The only 32-bit layout the blits handle is blue in the low byte, red in the third.
bool HasPlainMasks(const BITMAPINFO* info) {
  const BITMAPINFOHEADER& header = info->bmiHeader;
  if (header.biCompression == BI_RGB) return true;
  if (header.biCompression != BI_BITFIELDS || header.biBitCount != 32) return false;
  DWORD masks[3];
  if (header.biSize == kInfoHeaderSize) {
    std::memcpy(masks, info->bmiColors, sizeof(masks));
  } else {
    std::memcpy(masks, &reinterpret_cast<const BITMAPV5HEADER*>(info)->bV5RedMask, sizeof(masks));
  }
  return masks[0] == kRedMask && masks[1] == kGreenMask && masks[2] == kBlueMask;
}

bool IsValidDibHeader(const BITMAPINFO* info) {
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const bool known_size = header.biSize == kInfoHeaderSize || header.biSize == kV4HeaderSize ||
                          header.biSize == kV5HeaderSize;
  return known_size && header.biWidth > 0 && header.biHeight != 0 && header.biPlanes == 1 &&
         (header.biBitCount == 1 || header.biBitCount == 32) && HasPlainMasks(info);
}

// Bitmaps and device contexts count alike, as GDI objects of the process.
bool AtQuota(const World& world) {
  return world.bitmaps.size() + world.device_contexts.size() >= world.gdi_quota;
}

template <typename Handle>
Handle Fail(DWORD error) {
  SetLastError(error);
  return Handle{};
}

}  // namespace

void SetGdiObjectQuota(size_t count) {
  auto lock = LockWorld();
  TheWorld().gdi_quota = count;
}

size_t LiveGdiObjectCount() {
  auto lock = LockWorld();
  return TheWorld().bitmaps.size() + TheWorld().device_contexts.size();
}

void AddStockObjects(World& world) {
  world.stock_bitmap = NewHandle<HBITMAP>(world);
  NewBitmap(1, 1, 1, 2, true, &world.bitmaps[world.stock_bitmap]);
}

DeviceContext* LookUpDeviceContext(World& world, HDC dc) {
  const auto found = world.device_contexts.find(dc);
  if (found == world.device_contexts.end()) return Fail<DeviceContext*>(ERROR_INVALID_HANDLE);
  return &found->second;
}

Bitmap* LookUpBitmap(World& world, HBITMAP bitmap) {
  const auto found = world.bitmaps.find(bitmap);
  if (found == world.bitmaps.end()) return Fail<Bitmap*>(ERROR_INVALID_HANDLE);
  return &found->second;
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  auto lock = LockWorld();
  World& world = TheWorld();
  if (hdc != nullptr && LookUpDeviceContext(world, hdc) == nullptr) return nullptr;
  const HDC dc = NewHandle<HDC>(world);
  world.device_contexts[dc].bitmap = world.stock_bitmap;
  return dc;
}

// Only memory DCs are deleted; window and paint DCs go back through ReleaseDC and EndPaint.
BOOL WINAPI DeleteDC(HDC hdc) {
  auto lock = LockWorld();
  World& world = TheWorld();
  DeviceContext* dc = LookUpDeviceContext(world, hdc);
  if (dc == nullptr) return FALSE;
  if (dc->kind != DeviceContext::Kind::kMemory) return Fail<BOOL>(ERROR_INVALID_HANDLE);
  if (dc->bitmap != world.stock_bitmap) world.bitmaps[dc->bitmap].selected_into = nullptr;
  world.device_contexts.erase(hdc);
  return TRUE;
}

// 1 and 32 bits per pixel, colours given as RGB values; the DC does not matter for them.
// Monochrome pixels read as black (0) and white (1) whatever the colour table says.
HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits,
                                HANDLE hSection, DWORD offset) {
  (void)hdc;
  (void)offset;
  if (ppvBits != nullptr) *ppvBits = nullptr;
  if (pbmi == nullptr || usage != DIB_RGB_COLORS || hSection != nullptr ||
      !IsValidDibHeader(pbmi)) {
    return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
  }
  const BITMAPINFOHEADER& header = pbmi->bmiHeader;
  const int width = header.biWidth;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  Bitmap bitmap;
  if (!NewBitmap(width, height, header.biBitCount, Stride(width, header.biBitCount, 32),
                 header.biHeight < 0, &bitmap)) {
    return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
  }
  bitmap.is_dib_section = true;
  auto lock = LockWorld();
  World& world = TheWorld();
  if (AtQuota(world)) return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
  if (ppvBits != nullptr) *ppvBits = bitmap.surface.bits;
  const HBITMAP handle = NewHandle<HBITMAP>(world);
  world.bitmaps[handle] = std::move(bitmap);
  return handle;
}

// A zero width or height gives the stock 1 x 1 monochrome bitmap, as documented.
HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                            const VOID* lpBits) {
  if (nWidth < 0 || nHeight < 0 || nPlanes != 1 || (nBitCount != 1 && nBitCount != 32)) {
    return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
  }
  auto lock = LockWorld();
  World& world = TheWorld();
  if (nWidth == 0 || nHeight == 0) return world.stock_bitmap;
  if (AtQuota(world)) return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
  const int bits_per_pixel = static_cast<int>(nBitCount);
  const int stride = Stride(nWidth, bits_per_pixel, 16);
  Bitmap bitmap;
  if (!NewBitmap(nWidth, nHeight, bits_per_pixel, stride, true, &bitmap)) {
    return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
  }
  if (lpBits != nullptr) {
    std::memcpy(bitmap.surface.bits, lpBits, static_cast<size_t>(stride) * nHeight);
  }
  const HBITMAP handle = NewHandle<HBITMAP>(world);
  world.bitmaps[handle] = std::move(bitmap);
  return handle;
}

// Bitmaps into memory DCs only, and a bitmap into one DC at a time.
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  auto lock = LockWorld();
  World& world = TheWorld();
  DeviceContext* dc = LookUpDeviceContext(world, hdc);
  const HBITMAP handle = static_cast<HBITMAP>(h);
  Bitmap* bitmap = dc != nullptr ? LookUpBitmap(world, handle) : nullptr;
  if (bitmap == nullptr) return nullptr;
  if (dc->kind != DeviceContext::Kind::kMemory) return Fail<HGDIOBJ>(ERROR_INVALID_PARAMETER);
  if (dc->bitmap == handle) return h;
  if (handle != world.stock_bitmap && bitmap->selected_into != nullptr) {
    return Fail<HGDIOBJ>(ERROR_INVALID_PARAMETER);
  }
  const HBITMAP previous = dc->bitmap;
  if (previous != world.stock_bitmap) world.bitmaps[previous].selected_into = nullptr;
  if (handle != world.stock_bitmap) bitmap->selected_into = hdc;
  dc->bitmap = handle;
  return previous;
}

// A bitmap still selected into a DC is not deleted; deleting a stock object does nothing.
BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  auto lock = LockWorld();
  World& world = TheWorld();
  const HBITMAP handle = static_cast<HBITMAP>(ho);
  const Bitmap* bitmap = LookUpBitmap(world, handle);
  if (bitmap == nullptr) return FALSE;
  if (handle == world.stock_bitmap) return TRUE;
  if (bitmap->selected_into != nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
  world.bitmaps.erase(handle);
  return TRUE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
  auto lock = LockWorld();
  const Bitmap* bitmap = LookUpBitmap(TheWorld(), static_cast<HBITMAP>(h));
  if (bitmap == nullptr) return 0;
  if (pv == nullptr) return sizeof(BITMAP);
  if (c < static_cast<int>(sizeof(BITMAP))) return Fail<int>(ERROR_INVALID_PARAMETER);
  const Surface& surface = bitmap->surface;
  *static_cast<BITMAP*>(pv) = BITMAP{0,
                                     surface.width,
                                     surface.height,
                                     surface.stride_bytes,
                                     1,
                                     static_cast<WORD>(surface.bits_per_pixel),
                                     bitmap->is_dib_section ? surface.bits : nullptr};
  return sizeof(BITMAP);
}

}  // extern "C"
