#pragma once
// The raw picture files that pass between the 32-bit play-through and the host tools, which
// alone have PNG support: "QZRAW width height\n", then the 32-bit pixels, top row first.
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

bool WriteRawPicture(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
                     int32_t pitch_pixels);

// False when the file is missing or not a raw picture of 1 to 16384 pixels each way.
bool ReadRawPictureSize(const std::string& path, int32_t& width, int32_t& height);
bool ReadRawPicture(const std::string& path, std::vector<uint32_t>& pixels, int32_t& width,
                    int32_t& height);

}  // namespace tools
