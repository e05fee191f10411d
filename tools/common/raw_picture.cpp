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

bool ReadRawPicture(const std::string& path, std::vector<uint32_t>& pixels, int32_t& width,
                    int32_t& height) {
  constexpr int32_t kLargest = 16384;
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  if (!(file >> magic >> width >> height) || magic != "QZRAW" || width < 1 || height < 1 ||
      width > kLargest || height > kLargest) {
    return false;
  }
  file.get();
  pixels.resize(static_cast<size_t>(width) * height);
  file.read(reinterpret_cast<char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size() * 4));
  return static_cast<bool>(file);
}

}  // namespace tools
