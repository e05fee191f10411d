#include "cursor_art.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace demo {
namespace {

constexpr int32_t kSize = 32;
constexpr uint32_t kOpaque = 0xFF000000;
constexpr uint32_t kBlack = kOpaque | 0x101010;

using Inside = std::function<bool(double x, double y)>;

// Points inside a polygon, by the even-odd rule at the pixel's centre.
Inside Polygon(std::vector<std::pair<double, double>> points) {
  return [points](double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
  };
}

// Points within `half_width` of the segment from (x0, y0) to (x1, y1).
Inside Segment(double x0, double y0, double x1, double y1, double half_width) {
  return [=](double x, double y) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - x0 - t * dx, y - y0 - t * dy) <= half_width;
  };
}

Inside Ring(double cx, double cy, double inner, double outer) {
  return [=](double x, double y) {
    const double r = std::hypot(x - cx, y - cy);
    return r >= inner && r <= outer;
  };
}

// Paints a shape in `fill`, its outermost pixels in `outline` (when not 0), over the picture.
void Paint(std::vector<uint32_t>& picture, const Inside& inside, uint32_t fill,
           uint32_t outline = kBlack) {
  const auto at = [&](int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < kSize && y < kSize && inside(x + 0.5, y + 0.5);
  };
  for (int32_t y = 0; y < kSize; ++y) {
    for (int32_t x = 0; x < kSize; ++x) {
      if (!at(x, y)) continue;
      const bool edge = !at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1);
      picture[y * kSize + x] = edge && outline != 0 ? outline : fill;
    }
  }
}

Inside Pointer() {
  return Polygon({{1, 1}, {1, 23}, {6.5, 18}, {10.5, 27}, {14, 25.5}, {10, 17}, {17.5, 17}});
}

}  // namespace

standin::game::CursorSpriteShape CursorArt(int32_t type) {
  std::vector<uint32_t> picture(kSize * kSize, 0);
  switch (type % kCursorArtTypes) {
    case 0:
      Paint(picture, Pointer(), kOpaque | 0xF4F4F0);
      break;
    case 1:  // a sword, point at the top left
      Paint(picture, Segment(2, 2, 21, 21, 2.2), kOpaque | 0xC8D0DC);
      Paint(picture, Segment(3.5, 3.5, 20, 20, 0.6), kOpaque | 0xF8FCFF, 0);
      Paint(picture, Segment(16, 25, 25, 16, 1.8), kOpaque | 0xD8A830);
      Paint(picture, Segment(21, 21, 27, 27, 1.8), kOpaque | 0x6A4020);
      Paint(picture, Ring(28, 28, 0, 2.6), kOpaque | 0xD8A830);
      break;
    case 2:  // a magnifier
      Paint(picture, Segment(17, 17, 28, 28, 2.4), kOpaque | 0x7A4A24);
      Paint(picture, Ring(12, 12, 0, 7), kOpaque | 0xB8DCF0, 0);
      Paint(picture, Ring(12, 12, 6.5, 9.5), kOpaque | 0x606870);
      Paint(picture, Segment(8, 9, 10, 7, 0.8), kOpaque | 0xFFFFFF, 0);
      break;
    case 3:
      Paint(picture, Pointer(), kOpaque | 0xE8C040);
      break;
    default:  // a target
      Paint(picture, Ring(15.5, 15.5, 8, 11), kOpaque | 0xD02828);
      Paint(picture, Segment(15.5, 1, 15.5, 8, 1.2), kOpaque | 0xD02828);
      Paint(picture, Segment(15.5, 23, 15.5, 30, 1.2), kOpaque | 0xD02828);
      Paint(picture, Segment(1, 15.5, 8, 15.5, 1.2), kOpaque | 0xD02828);
      Paint(picture, Segment(23, 15.5, 30, 15.5, 1.2), kOpaque | 0xD02828);
      Paint(picture, Ring(15.5, 15.5, 0, 2), kOpaque | 0xFFE060);
      break;
  }
  return {kSize, kSize, 0, std::move(picture)};
}

standin::game::CursorPicture ShowGameCursor(int32_t type) {
  standin::game::SetCursorSprite(type, CursorArt(type));
  standin::game::RequestCursor(type, type == 3 ? 0 : 1);
  return standin::game::ReadCursor(GetCursor());
}

}  // namespace demo
