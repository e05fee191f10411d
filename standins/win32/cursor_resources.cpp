// Cursors from resource data: cursor groups and images loaded by LoadCursorA, and images or
// animated cursors ("RIFF"/"ACON") handed to CreateIconFromResourceEx. Only 32-bit colour
// images are read; anything else is refused as data this system does not ship.
#include <cstring>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

constexpr WORD kCursorType = 1;        // RT_CURSOR
constexpr WORD kCursorGroupType = 12;  // RT_GROUP_CURSOR
constexpr int kSystemCursorSize = 32;  // SM_CXCURSOR
constexpr DWORD kResourceVersion = 0x00030000;
constexpr uint32_t kFramesAreIcons = 1;  // ANIHEADER flag: frames are icon or cursor files

template <typename Value>
bool Read(const uint8_t* bits, size_t size, size_t offset, Value* value) {
  if (offset > size || size - offset < sizeof(Value)) return false;
  std::memcpy(value, bits + offset, sizeof(Value));
  return true;
}

// A DIB of `height` * 2 rows: colours, then the AND mask, both bottom row first.
bool ParseImage(const uint8_t* bits, size_t size, Cursor* parsed) {
  BITMAPINFOHEADER header{};
  if (!Read(bits, size, 0, &header) || header.biSize < sizeof header || header.biWidth < 1 ||
      header.biHeight < 2 || header.biHeight % 2 != 0 || header.biPlanes != 1 ||
      header.biBitCount != 32 || header.biCompression != BI_RGB) {
    return false;
  }
  const int width = header.biWidth;
  const int height = header.biHeight / 2;
  const size_t colour_bytes = static_cast<size_t>(width) * 4 * height;
  const size_t mask_stride = static_cast<size_t>((width + 31) / 32 * 4);
  if (size - header.biSize < colour_bytes + mask_stride * height) return false;
  const uint8_t* colours = bits + header.biSize;
  const uint8_t* mask = colours + colour_bytes;
  CursorFrame frame;
  for (int y = 0; y < height; ++y) {
    const size_t row = static_cast<size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t pixel = 0;
      std::memcpy(&pixel, colours + (row * width + x) * 4, 4);
      frame.colour.push_back(pixel);
      frame.mask.push_back((mask[row * mask_stride + x / 8] & (0x80 >> (x % 8))) != 0 ? 1 : 0);
    }
  }
  if (parsed->frames.empty()) {
    parsed->width = width;
    parsed->height = height;
  } else if (parsed->width != width || parsed->height != height) {
    return false;
  }
  parsed->frames.push_back(std::move(frame));
  return true;
}

// A cursor file inside an animated cursor: its directory, whose first entry holds the hot spot
// and the place of the image.
bool ParseCursorFile(const uint8_t* bits, size_t size, Cursor* parsed) {
  WORD reserved = 1;
  WORD type = 0;
  WORD count = 0;
  WORD hot_x = 0;
  WORD hot_y = 0;
  DWORD image_size = 0;
  DWORD image_offset = 0;
  if (!Read(bits, size, 0, &reserved) || !Read(bits, size, 2, &type) ||
      !Read(bits, size, 4, &count) || reserved != 0 || type != 2 || count < 1 ||
      !Read(bits, size, 10, &hot_x) || !Read(bits, size, 12, &hot_y) ||
      !Read(bits, size, 14, &image_size) || !Read(bits, size, 18, &image_offset) ||
      image_offset > size || size - image_offset < image_size) {
    return false;
  }
  if (parsed->frames.empty()) parsed->hot_spot = POINT{hot_x, hot_y};
  return ParseImage(bits + image_offset, image_size, parsed);
}

bool IsChunk(const uint8_t* bits, size_t size, size_t offset, const char* tag) {
  return offset <= size && size - offset >= 4 && std::memcmp(bits + offset, tag, 4) == 0;
}

// RIFF "ACON": an "anih" header and a "LIST" "fram" of "icon" chunks, one cursor file each.
// Chunks are padded to even sizes; other chunks ("rate", "seq ", "INFO") are passed over.
bool ParseAnimatedCursor(const uint8_t* bits, size_t size, Cursor* parsed) {
  uint32_t frame_count = 0;
  uint32_t flags = 0;
  bool header_seen = false;
  for (size_t at = 12; at + 8 <= size;) {
    uint32_t length = 0;
    Read(bits, size, at + 4, &length);
    const size_t body = at + 8;
    if (length > size - body) return false;
    if (IsChunk(bits, size, at, "anih")) {
      header_seen = Read(bits, size, body + 4, &frame_count) && Read(bits, size, body + 32, &flags);
    } else if (IsChunk(bits, size, at, "LIST") && IsChunk(bits, size, body, "fram")) {
      for (size_t icon = body + 4; icon + 8 <= body + length;) {
        uint32_t icon_length = 0;
        Read(bits, size, icon + 4, &icon_length);
        if (!IsChunk(bits, size, icon, "icon") || icon_length > body + length - icon - 8 ||
            !ParseCursorFile(bits + icon + 8, icon_length, parsed)) {
          return false;
        }
        icon += 8 + icon_length + (icon_length & 1);
      }
    }
    at = body + length + (length & 1);
  }
  return header_seen && (flags & kFramesAreIcons) != 0 && frame_count >= 1 &&
         parsed->frames.size() == frame_count;
}

bool IsAnimatedCursor(const uint8_t* bits, size_t size) {
  return IsChunk(bits, size, 0, "RIFF") && IsChunk(bits, size, 8, "ACON");
}

// The group's entry of the system cursor size, else its first.
bool ChooseFromGroup(const std::vector<uint8_t>& group, WORD* identifier) {
  const uint8_t* bits = group.data();
  WORD type = 0;
  WORD count = 0;
  if (!Read(bits, group.size(), 2, &type) || !Read(bits, group.size(), 4, &count) || type != 2 ||
      count < 1) {
    return false;
  }
  constexpr size_t kEntrySize = 14;
  for (WORD entry = 0; entry < count; ++entry) {
    const size_t at = 6 + entry * kEntrySize;
    WORD width = 0;
    WORD entry_identifier = 0;
    if (!Read(bits, group.size(), at, &width) ||
        !Read(bits, group.size(), at + 12, &entry_identifier)) {
      return false;
    }
    if (entry == 0 || width == kSystemCursorSize) *identifier = entry_identifier;
    if (width == kSystemCursorSize) break;
  }
  return true;
}

template <typename Result>
Result Fail(DWORD error) {
  SetLastError(error);
  return Result{};
}

}  // namespace

bool ParseCursorImage(const uint8_t* bits, size_t size, bool cursor, Cursor* parsed) {
  WORD hot_x = 0;
  WORD hot_y = 0;
  const size_t header = cursor ? 4 : 0;
  if (cursor && (!Read(bits, size, 0, &hot_x) || !Read(bits, size, 2, &hot_y))) return false;
  if (size < header || !ParseImage(bits + header, size - header, parsed)) return false;
  parsed->is_icon = !cursor;
  parsed->hot_spot = cursor ? POINT{hot_x, hot_y} : POINT{parsed->width / 2, parsed->height / 2};
  return true;
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

// Numbered cursor groups of a loaded module. The cursor is shared: loading it again gives the
// same handle, and it lives as long as the module. The system's own cursors (a null module)
// are not modelled.
HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
  auto lock = LockWorld();
  World& world = TheWorld();
  Module* module = hInstance != nullptr ? LoadedModule(world, hInstance) : nullptr;
  if (module == nullptr || !IS_INTRESOURCE(lpCursorName)) {
    return Fail<HCURSOR>(ERROR_RESOURCE_NAME_NOT_FOUND);
  }
  const auto identifier = static_cast<WORD>(reinterpret_cast<uintptr_t>(lpCursorName));
  const auto shared = world.shared_cursors.find({hInstance, identifier});
  if (shared != world.shared_cursors.end() && world.cursors.count(shared->second) != 0) {
    return shared->second;
  }
  const auto group = module->resources.find({kCursorGroupType, identifier});
  if (group == module->resources.end()) return Fail<HCURSOR>(ERROR_RESOURCE_NAME_NOT_FOUND);
  WORD image_identifier = 0;
  if (!ChooseFromGroup(group->second, &image_identifier)) {
    return Fail<HCURSOR>(ERROR_RESOURCE_DATA_NOT_FOUND);
  }
  const auto image = module->resources.find({kCursorType, image_identifier});
  Cursor cursor;
  if (image == module->resources.end() ||
      !ParseCursorImage(image->second.data(), image->second.size(), true, &cursor)) {
    return Fail<HCURSOR>(ERROR_RESOURCE_DATA_NOT_FOUND);
  }
  cursor.shared = true;
  const HCURSOR handle = AddCursor(world, std::move(cursor));
  if (handle != nullptr) world.shared_cursors[{hInstance, identifier}] = handle;
  return handle;
}

// Stretching to another size is not modelled: the desired size must be the image's own, or 0
// for it (32 with LR_DEFAULTSIZE).
HICON WINAPI CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer,
                                      int cxDesired, int cyDesired, UINT Flags) {
  if (presbits == nullptr || dwVer != kResourceVersion) {
    return Fail<HICON>(ERROR_INVALID_PARAMETER);
  }
  Cursor cursor;
  const bool parsed = IsAnimatedCursor(presbits, dwResSize)
                          ? ParseAnimatedCursor(presbits, dwResSize, &cursor)
                          : ParseCursorImage(presbits, dwResSize, fIcon == FALSE, &cursor);
  if (!parsed) return Fail<HICON>(ERROR_INVALID_PARAMETER);
  const int default_size = (Flags & LR_DEFAULTSIZE) != 0 ? kSystemCursorSize : 0;
  const int width = cxDesired != 0 ? cxDesired : default_size;
  const int height = cyDesired != 0 ? cyDesired : default_size;
  if ((width != 0 && width != cursor.width) || (height != 0 && height != cursor.height)) {
    return Fail<HICON>(ERROR_INVALID_PARAMETER);
  }
  auto lock = LockWorld();
  return AddCursor(TheWorld(), std::move(cursor));
}

}  // extern "C"
