#pragma once
// RGBA PNG files as frames: the 32-bit pixel is A<<24 | R<<16 | G<<8 | B, so all 32 bits survive a
// round trip.
#include <cstdint>
#include <string>
#include <vector>

namespace qzprx {

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // width * height, top row first
};

// False with a reason in `error` when the file is missing or not a PNG.
bool ReadPng(const std::string& path, Picture& picture, std::string& error);
bool WritePng(const std::string& path, const Picture& picture, std::string& error);

// A PNG, or the play-through's raw picture when the name ends in ".raw".
bool ReadPicture(const std::string& path, Picture& picture, std::string& error);
bool WritePicture(const std::string& path, const Picture& picture, std::string& error);

}  // namespace qzprx
