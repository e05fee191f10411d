#include "png_file.h"

#include <png.h>

#include <cstring>

#include "raw_picture.h"

namespace qzprx {

bool ReadPng(const std::string& path, Picture& picture, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    error = path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_BGRA;  // bytes B, G, R, A: one little-endian 32-bit pixel each
  picture.width = static_cast<int32_t>(image.width);
  picture.height = static_cast<int32_t>(image.height);
  picture.pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    error = path + ": " + image.message;
    return false;
  }
  return true;
}

bool WritePng(const std::string& path, const Picture& picture, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_BGRA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr)) {
    error = path + ": " + image.message;
    return false;
  }
  return true;
}

namespace {

bool IsRaw(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".raw") == 0;
}

}  // namespace

bool ReadPicture(const std::string& path, Picture& picture, std::string& error) {
  if (!IsRaw(path)) return ReadPng(path, picture, error);
  if (tools::ReadRawPicture(path, picture.pixels, picture.width, picture.height)) return true;
  error = path + ": not a raw picture";
  return false;
}

bool WritePicture(const std::string& path, const Picture& picture, std::string& error) {
  if (!IsRaw(path)) return WritePng(path, picture, error);
  if (tools::WriteRawPicture(path, picture.pixels.data(), picture.width, picture.height,
                             picture.width)) {
    return true;
  }
  error = path + ": cannot write";
  return false;
}

}  // namespace qzprx
