#include "raw_picture.h"

#include <fstream>

namespace tools {

bool WriteRawPicture(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
                     int32_t pitch_pixels) {
  std::ofstream file(path, std::ios::binary);
  file << "QZRAW " << width << " " << height << "\n";
  for (int32_t y = 0; y < height; ++y) {
    file.write(reinterpret_cast<const char*>(pixels + static_cast<size_t>(y) * pitch_pixels),
               static_cast<std::streamsize>(width) * 4);
  }
  return static_cast<bool>(file);
}

namespace {

bool ReadHeader(std::ifstream& file, int32_t& width, int32_t& height) {
  constexpr int32_t kLargest = 16384;
  std::string magic;
  return static_cast<bool>(file >> magic >> width >> height) && magic == "QZRAW" && width >= 1 &&
         height >= 1 && width <= kLargest && height <= kLargest;
}

}  // namespace

bool ReadRawPictureSize(const std::string& path, int32_t& width, int32_t& height) {
  std::ifstream file(path, std::ios::binary);
  return ReadHeader(file, width, height);
}

bool ReadRawPicture(const std::string& path, std::vector<uint32_t>& pixels, int32_t& width,
                    int32_t& height) {
  std::ifstream file(path, std::ios::binary);
  if (!ReadHeader(file, width, height)) return false;
  file.get();
  pixels.resize(static_cast<size_t>(width) * height);
  file.read(reinterpret_cast<char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size() * 4));
  return static_cast<bool>(file);
}

}  // namespace tools
