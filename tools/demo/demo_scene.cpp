#include "demo_scene.h"

#include <algorithm>

namespace demo {
namespace {

constexpr uint32_t kGrass[] = {0x3C7A2C, 0x4A8C34, 0x35702A, 0x52963C};
constexpr uint32_t kField = 0xB89A4C;
constexpr uint32_t kRoad = 0x8C7456;
constexpr uint32_t kWater = 0x2C5C9C;
constexpr uint32_t kOutline = 0x141414;
constexpr uint32_t kFlags[] = {0xD02020, 0x2040D0, 0xE0C020};
constexpr int32_t kTile = 32;
constexpr int32_t kUnits = 12;
constexpr int32_t kUnitRadius = 9;

uint32_t Darken(uint32_t colour) {
  return (colour >> 1) & 0x7F7F7F;
}

uint32_t& Pixel(const standin::game::LockedSurface& frame, int32_t x, int32_t y) {
  return frame.pixels[static_cast<size_t>(y) * frame.pitch_pixels + x];
}

uint32_t Ground(int32_t x, int32_t y) {
  const int32_t tile_x = x / kTile;
  const int32_t tile_y = y / kTile;
  const uint32_t base = kGrass[(tile_x * 7 + tile_y * 3) % 4];
  // Fields cut diagonally through some tiles, a river and two roads across the map.
  if ((tile_x + tile_y) % 5 == 0 && x % kTile > y % kTile) return kField;
  if (std::abs((x - 2 * y / 3) - 300) < 14) return kWater;
  if (std::abs(y - 300 - (x - 400) / 3) < 6 || std::abs(x - 520) < 5) return kRoad;
  return base;
}

void DrawGround(const standin::game::LockedSurface& frame, const RECT& area) {
  for (int32_t y = area.top; y <= area.bottom; ++y) {
    for (int32_t x = area.left; x <= area.right; ++x) Pixel(frame, x, y) = Ground(x, y);
  }
}

struct Unit {
  int32_t x;
  int32_t y;
  uint32_t flag;
};

Unit UnitAt(int32_t index, int32_t step, int32_t width, int32_t height) {
  const int32_t x = 60 + (index * 137 + step * (3 + index % 3)) % (width - 120);
  const int32_t y = 60 + (index * 89) % (height - 160);
  return {x, y, kFlags[index % 3]};
}

RECT UnitArea(const Unit& unit) {
  const int32_t reach = kUnitRadius + 4;
  return {unit.x - reach, unit.y - reach, unit.x + reach + 3, unit.y + reach + 3};
}

// A round unit with an outline, lit from the top left, its flag colour on a banner, and a
// shadow to the bottom right that darkens whatever ground it falls on.
void DrawUnit(const standin::game::LockedSurface& frame, const Unit& unit) {
  const int32_t r = kUnitRadius;
  for (int32_t dy = -r; dy <= r; ++dy) {
    for (int32_t dx = -r; dx <= r; ++dx) {
      if (dx * dx + dy * dy > r * r) continue;
      uint32_t& shadow = Pixel(frame, unit.x + dx + 3, unit.y + dy + 3);
      shadow = Darken(shadow) + Darken(Darken(shadow));
    }
  }
  for (int32_t dy = -r; dy <= r; ++dy) {
    for (int32_t dx = -r; dx <= r; ++dx) {
      const int32_t distance = dx * dx + dy * dy;
      if (distance > r * r) continue;
      const uint32_t body = dx + dy < -4 ? 0xC8C0B0 : dx + dy > 4 ? 0x787068 : 0xA09888;
      Pixel(frame, unit.x + dx, unit.y + dy) = distance > (r - 1) * (r - 1) ? kOutline : body;
    }
  }
  for (int32_t dy = -r - 3; dy < -r + 2; ++dy) {
    for (int32_t dx = 0; dx < 7; ++dx) Pixel(frame, unit.x + dx, unit.y + dy) = unit.flag;
  }
}

void DrawPanel(const standin::game::LockedSurface& frame, int32_t width, int32_t height) {
  for (int32_t y = height - 64; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const bool border = y == height - 64 || x == 0 || x == width - 1 || y == height - 1;
      Pixel(frame, x, y) = border ? 0xD8C890 : ((x / 4 + y / 4) % 2 ? 0x3A2E22 : 0x33281E);
    }
  }
}

RECT Union(const RECT& a, const RECT& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace

RECT DrawScene(const standin::game::LockedSurface& frame, int32_t width, int32_t height,
               int32_t step) {
  const RECT whole{0, 0, width - 1, height - 1};
  if (step == 0) {
    DrawGround(frame, {0, 0, width - 1, height - 65});
    DrawPanel(frame, width, height);
    for (int32_t i = 0; i < kUnits; ++i) DrawUnit(frame, UnitAt(i, 0, width, height));
    return whole;
  }
  // Units move: repaint the ground under their old and new places, then every unit.
  RECT changed{width, height, -1, -1};
  for (int32_t i = 0; i < kUnits; ++i) {
    const RECT before = UnitArea(UnitAt(i, step - 1, width, height));
    const RECT after = UnitArea(UnitAt(i, step, width, height));
    DrawGround(frame, before);
    changed = Union(changed, Union(before, after));
  }
  for (int32_t i = 0; i < kUnits; ++i) DrawUnit(frame, UnitAt(i, step, width, height));
  return changed;
}

}  // namespace demo
