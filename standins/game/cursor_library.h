#pragma once
// The host modification's cursor library cursors.dll, installed in its common directory: cursor
// groups 100 to 399 (types 0 to 2, frames 0 to 99) and 500 (the default cursor), and the
// animated cursor 700. Every pixel of a cursor has one colour that names it, so a picture read
// back from a cursor handle tells which resource it came from.
#include <cstdint>
#include <string>
#include <vector>

namespace standin::host {

inline constexpr const char* kCommonDirectory = "C:\\Game\\QZ";
inline constexpr int32_t kAnimatedCursorFrames = 4;

// Puts the library in `directory` (leaving out the given cursor group identifiers) and
// publishes the directory as "QZ.Dir.Common".
void InstallCursorLibrary(const std::string& directory = kCommonDirectory,
                          const std::vector<uint16_t>& left_out = {});

// The colour (0xAARRGGBB) and hot spot of a cursor of the library.
uint32_t ResourceCursorColour(uint16_t identifier);
uint32_t AnimatedCursorColour(int32_t frame);
int32_t ResourceCursorHotX(uint16_t identifier);
int32_t ResourceCursorHotY(uint16_t identifier);

}  // namespace standin::host
