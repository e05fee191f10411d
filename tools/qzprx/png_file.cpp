#include "png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>

#include "picture_limits.h"
#include "raw_picture.h"

namespace qzprx {

namespace {

// libpng reports errors by a long jump back to the reading step; the steps below hold nothing
// that needs destroying across it.
struct PngReader {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[256] = "not a PNG file";

  explicit PngReader(const std::string& path) : file(std::fopen(path.c_str(), "rb")) {
    if (file == nullptr) {
      std::snprintf(message, sizeof message, "cannot open");
      return;
    }
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, &Failed, &Warned);
    if (png != nullptr) info = png_create_info_struct(png);
  }
  ~PngReader() {
    png_destroy_read_struct(&png, &info, nullptr);
    if (file != nullptr) std::fclose(file);
  }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  static void Failed(png_structp png, png_const_charp text) {
    auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(reader->message, sizeof reader->message, "%s", text);
    png_longjmp(png, 1);
  }
  static void Warned(png_structp, png_const_charp) {}
};

// Reads up to the pixels; false on an error.
bool ReadHeader(PngReader& reader, uint32_t& width, uint32_t& height) {
  if (reader.info == nullptr) return false;
  if (setjmp(png_jmpbuf(reader.png)) != 0) return false;
  png_init_io(reader.png, reader.file);
  png_read_info(reader.png, reader.info);
  width = png_get_image_width(reader.png, reader.info);
  height = png_get_image_height(reader.png, reader.info);
  return true;
}

// Every kind of PNG as 8-bit B, G, R, A bytes: the stored values as they are, 16-bit samples
// scaled to 8 bits without any gamma, interlaced passes put together by libpng.
bool ReadPixels(PngReader& reader, png_bytep* rows, size_t row_bytes) {
  png_structp png = reader.png;
  png_infop info = reader.info;
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_set_scale_16(png);
  png_set_expand(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != row_bytes) png_error(png, "unexpected row size");
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

bool ReadPngSize(const std::string& path, int32_t& width, int32_t& height, std::string& error) {
  PngReader reader(path);
  uint32_t png_width = 0;
  uint32_t png_height = 0;
  if (!ReadHeader(reader, png_width, png_height)) {
    error = path + ": " + reader.message;
    return false;
  }
  const std::string problem = PictureSizeProblem(png_width, png_height);
  if (!problem.empty()) {
    error = path + ": " + problem;
    return false;
  }
  width = static_cast<int32_t>(png_width);
  height = static_cast<int32_t>(png_height);
  return true;
}

bool ReadPng(const std::string& path, Picture& picture, std::string& error) {
  PngReader reader(path);
  uint32_t width = 0;
  uint32_t height = 0;
  if (!ReadHeader(reader, width, height)) {
    error = path + ": " + reader.message;
    return false;
  }
  // The size is checked before anything is allocated for the pixels.
  const std::string problem = PictureSizeProblem(width, height);
  if (!problem.empty()) {
    error = path + ": " + problem;
    return false;
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  std::vector<png_bytep> rows(height);
  for (uint32_t y = 0; y < height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(&pixels[static_cast<size_t>(y) * width]);
  }
  if (!ReadPixels(reader, rows.data(), static_cast<size_t>(width) * 4)) {
    error = path + ": " + reader.message;
    return false;
  }
  picture = {static_cast<int32_t>(width), static_cast<int32_t>(height), std::move(pixels)};
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

bool ReadPictureSize(const std::string& path, int32_t& width, int32_t& height, std::string& error) {
  if (!IsRaw(path)) return ReadPngSize(path, width, height, error);
  if (tools::ReadRawPictureSize(path, width, height)) return true;
  error = path + ": not a raw picture";
  return false;
}

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
