#include "cursor_command.h"

#include <cstdio>

#include "command_line.h"
#include "cursor/cursor_image_ops.h"
#include "cursor/cursor_scaling.h"
#include "png_file.h"

namespace qzprx {
namespace {

constexpr const char* kUsage =
    "usage: qzprx cursor --game GWxGH --picture OWxOH [--pre-nt6] SPRITE.png OUT.png";

constexpr int32_t kNt6Canvas = 128;
constexpr int32_t kClassicCanvas = 32;

struct CursorRequest {
  qz::cursor::CursorGeometry geometry;
  std::string sprite_path;
  std::string out_path;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "qzprx cursor: %s\n%s\n", message.c_str(), kUsage);
  return 2;
}

// Empty when the arguments are fine, else what is wrong.
std::string Parse(const std::vector<std::string>& arguments, CursorRequest& request) {
  qz::cursor::CursorGeometry& geometry = request.geometry;
  std::vector<std::string> files;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool has_value = i + 1 < arguments.size();
    if (argument == "--game" && has_value) {
      if (!ParseSize(arguments[++i], geometry.game_width, geometry.game_height)) {
        return "bad game frame size '" + arguments[i] + "' (WxH, 1 to 16384 each)";
      }
    } else if (argument == "--picture" && has_value) {
      if (!ParseSize(arguments[++i], geometry.picture_width, geometry.picture_height)) {
        return "bad picture size '" + arguments[i] + "' (WxH, 1 to 16384 each)";
      }
    } else if (argument == "--pre-nt6") {
      geometry.nt6 = false;
    } else if (argument.rfind("--", 0) == 0) {
      return "unknown or incomplete option '" + argument + "'";
    } else {
      files.push_back(argument);
    }
  }
  if (geometry.game_width == 0) return "no game frame size given";
  if (geometry.picture_width == 0) return "no picture size given";
  if (files.size() != 2) return "expected SPRITE.png and OUT.png";
  geometry.canvas = geometry.nt6 ? kNt6Canvas : kClassicCanvas;
  request.sprite_path = files[0];
  request.out_path = files[1];
  return {};
}

qz::cursor::ArgbImage ViewOf(Picture& picture) {
  return {picture.pixels.data(), picture.width, picture.height, picture.width};
}

Picture Blank(int32_t width, int32_t height) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0)};
}

// The work image as the game's drawing routine leaves it: the key under the frame, and the
// frame's drawn pixels, without alpha, over it; see-through pixels are not drawn.
Picture SpriteWorkImage(const Picture& sprite) {
  constexpr int32_t kSize = qz::cursor::kSpriteImageSize;
  Picture work = Blank(kSize, kSize);
  for (int32_t y = 0; y < sprite.height; ++y) {
    for (int32_t x = 0; x < sprite.width; ++x) {
      const uint32_t pixel = sprite.pixels[static_cast<size_t>(y) * sprite.width + x];
      work.pixels[static_cast<size_t>(y) * kSize + x] =
          pixel >> 24 == 0 ? qz::cursor::kCursorKey : pixel & 0xFFFFFF;
    }
  }
  return work;
}

}  // namespace

int RunCursor(const std::vector<std::string>& arguments) {
  CursorRequest request;
  const std::string problem = Parse(arguments, request);
  if (!problem.empty()) return Fail(problem);
  Picture sprite;
  std::string error;
  if (!ReadPng(request.sprite_path, sprite, error)) return Fail(error);
  constexpr int32_t kLargest = qz::cursor::kSpriteImageSize;
  if (sprite.width > kLargest || sprite.height > kLargest) {
    return Fail(request.sprite_path + " is " + std::to_string(sprite.width) + " x " +
                std::to_string(sprite.height) + "; cursor sprites are at most 64 x 64");
  }
  const qz::cursor::CursorGeometry& geometry = request.geometry;
  if (geometry.nt6 && !qz::cursor::EnsureColorDistanceTable()) {
    std::fprintf(stderr,
                 "qzprx cursor: no memory for the distance table; resampling without the "
                 "edge-aware doubling\n");
  }
  Picture work = SpriteWorkImage(sprite);
  Picture enlarged = Blank(geometry.canvas, geometry.canvas);
  Picture canvas = Blank(geometry.canvas, geometry.canvas);
  const qz::cursor::CursorScale scale = qz::cursor::ScaleCursorSprite(
      geometry, ViewOf(work), sprite.width, sprite.height, ViewOf(enlarged), ViewOf(canvas));
  if (scale.width == 0 || scale.height == 0) {
    return Fail("the cursor shrinks to nothing in a picture this small");
  }
  if (!WritePng(request.out_path, canvas, error)) return Fail(error);
  std::printf("%s: cursor %u x %u on the %d x %d canvas, scale %u/%u across, %u/%u down\n",
              request.out_path.c_str(), scale.width, scale.height, geometry.canvas, geometry.canvas,
              scale.factor_x, scale.divisor_x, scale.factor_y, scale.divisor_y);
  return 0;
}

}  // namespace qzprx
