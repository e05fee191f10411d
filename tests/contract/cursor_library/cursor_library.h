#pragma once
// The cursor library the contract suite loads, cursors.dll, with the resources and identifiers
// the plug-in loads from the host's library: cursor groups 100 to 399 and 500, and the animated
// cursor 700. Written once here: the build turns it into a resource script for the Windows
// program, and the stand-in build puts the same resources on its simulated disk.
#include <cstdint>
#include <vector>

namespace qz::contract {

inline constexpr const char* kCursorLibraryName = "cursors.dll";
inline constexpr uint16_t kDefaultCursor = 500;
inline constexpr uint16_t kFirstGroupCursor = 100;
inline constexpr uint16_t kLastGroupCursor = 399;
inline constexpr uint16_t kAnimatedCursor = 700;
inline constexpr int32_t kAnimatedFrames = 4;
inline constexpr int32_t kCursorSize = 32;

inline constexpr uint16_t kCursorImageType = 1;      // RT_CURSOR
inline constexpr uint16_t kCursorGroupType = 12;     // RT_GROUP_CURSOR
inline constexpr uint16_t kAnimatedCursorType = 21;  // RT_ANICURSOR

struct LibraryResource {
  uint16_t type;
  uint16_t identifier;
  std::vector<uint8_t> data;
};

// Every resource of the library, in the order the resource script lists them.
std::vector<LibraryResource> CursorLibraryResources();

// The picture of a library cursor, 0xAARRGGBB, top row first: one opaque colour over an
// L-shaped area (the left half and the top quarter), transparent 0 elsewhere, so that a picture
// turned upside down or mirrored shows.
struct LibraryPicture {
  std::vector<uint32_t> pixels;
  uint32_t hot_x;
  uint32_t hot_y;
};
// Cursor groups by their identifier; the animated cursor by its frame.
LibraryPicture GroupCursorPicture(uint16_t identifier);
LibraryPicture AnimatedFramePicture(int32_t frame);

}  // namespace qz::contract
