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

// False with a one-line reason in `error` when the file is missing, not a PNG, or larger than the
// tool takes on (picture_limits.h), which is told from its header before anything is allocated.
// Pixels are the stored values: 16-bit samples become 8 bits without any gamma change.
bool ReadPng(const std::string& path, Picture& picture, std::string& error);
bool ReadPngSize(const std::string& path, int32_t& width, int32_t& height, std::string& error);
bool WritePng(const std::string& path, const Picture& picture, std::string& error);

// A PNG, or the play-through's raw picture when the name ends in ".raw".
bool ReadPicture(const std::string& path, Picture& picture, std::string& error);
bool ReadPictureSize(const std::string& path, int32_t& width, int32_t& height, std::string& error);
bool WritePicture(const std::string& path, const Picture& picture, std::string& error);

}  // namespace qzprx
