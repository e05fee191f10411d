#include "scene_art.h"

#include <cstdlib>
#include <map>

namespace demo {
namespace {

using tools::FramePicture;
using tools::PictureSample;

constexpr uint32_t kGrass[] = {0x3C7A2C, 0x4A8C34, 0x35702A, 0x52963C};
constexpr uint32_t kField = 0xB89A4C;
constexpr uint32_t kFurrow = 0x9C7E3C;
constexpr uint32_t kRoad = 0x8C7456;
constexpr uint32_t kWater = 0x2C5C9C;
constexpr uint32_t kFoam = 0x6C9CD4;
constexpr uint32_t kOutline = 0x141414;

// Colours go into the palette as they are first used; index 0 stays black.
class PaletteBuilder {
 public:
  PaletteBuilder() : colours_(256, 0) { index_of_[0] = 0; }

  uint8_t Index(uint32_t rgb) {
    const auto colour =
        static_cast<uint16_t>((rgb >> 8 & 0xF800) | (rgb >> 5 & 0x07E0) | (rgb >> 3 & 0x001F));
    const auto found = index_of_.find(colour);
    if (found != index_of_.end()) return found->second;
    const auto index = static_cast<uint8_t>(index_of_.size());
    index_of_[colour] = index;
    colours_[index] = colour;
    return index;
  }

  std::vector<uint16_t> Colours() const { return colours_; }

 private:
  std::vector<uint16_t> colours_;
  std::map<uint16_t, uint8_t> index_of_;
};

// A small hash for dithering, the same on every run.
uint32_t Noise(int32_t x, int32_t y) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

uint32_t Ground(int32_t x, int32_t y) {
  const int32_t tile_x = x / kTile;
  const int32_t tile_y = y / kTile;
  // Fields cut diagonally through some tiles, a river and two roads run across the map.
  if ((tile_x + tile_y) % 5 == 0 && x % kTile > y % kTile)
    return (x + y) % 4 == 0 ? kFurrow : kField;
  const int32_t river = std::abs((x - 2 * y / 3) - 300);
  if (river < 14) return river > 11 || Noise(x, y) % 17 == 0 ? kFoam : kWater;
  if (std::abs(y - 300 - (x - 400) / 3) < 6 || std::abs(x - 520) < 5) return kRoad;
  const uint32_t base = (tile_x * 7 + tile_y * 3) % 4;
  return kGrass[Noise(x, y) % 5 == 0 ? (base + 1) % 4 : base];
}

FramePicture Blank(int32_t width, int32_t height, uint8_t clear_code) {
  return {width, height,
          std::vector<PictureSample>(static_cast<size_t>(width) * height, {true, clear_code})};
}

PictureSample& At(FramePicture& picture, int32_t x, int32_t y) {
  return picture.samples[static_cast<size_t>(y) * picture.width + x];
}

PictureSample Raw(PaletteBuilder& palette, uint32_t rgb) {
  return {false, palette.Index(rgb)};
}

bool InDisc(int32_t dx, int32_t dy, int32_t radius) {
  return dx * dx + dy * dy <= radius * radius;
}

// A round unit lit from the top left with an outline, a banner in its flag colour and a shadow
// falling to the bottom right.
FramePicture Unit(PaletteBuilder& palette) {
  constexpr int32_t kRadius = 9;
  constexpr int32_t cx = 11;
  constexpr int32_t cy = 14;
  FramePicture unit = Blank(28, 28, kClear);
  for (int32_t y = 0; y < unit.height; ++y) {
    for (int32_t x = 0; x < unit.width; ++x) {
      const int32_t dx = x - cx;
      const int32_t dy = y - cy;
      if (InDisc(dx, dy, kRadius)) {
        const uint32_t body = dx + dy < -4 ? 0xC8C0B0 : dx + dy > 4 ? 0x787068 : 0xA09888;
        At(unit, x, y) = Raw(palette, InDisc(dx, dy, kRadius - 1) ? body : kOutline);
      } else if (InDisc(dx - 3, dy - 3, kRadius)) {
        At(unit, x, y) = {true, kHalfShadow};
      }
    }
  }
  for (int32_t y = 1; y < 6; ++y) {
    At(unit, cx, y) = Raw(palette, kOutline);
    for (int32_t x = cx + 1; x < cx + 8 - y / 2; ++x) At(unit, x, y) = {true, kFlag};
  }
  return unit;
}

FramePicture SelectionRing(PaletteBuilder& palette) {
  FramePicture ring = Blank(28, 12, kClear);
  for (int32_t y = 0; y < ring.height; ++y) {
    for (int32_t x = 0; x < ring.width; ++x) {
      // An ellipse 13 x 5 around (13, 5), two pixels thick.
      const double ex = (x - 13.5) / 13.0;
      const double ey = (y - 5.5) / 5.5;
      const double r = ex * ex + ey * ey;
      if (r <= 1.0 && r >= 0.55) At(ring, x, y) = Raw(palette, 0xF0E060);
    }
  }
  return ring;
}

FramePicture Tree(PaletteBuilder& palette) {
  FramePicture tree = Blank(24, 32, kClear);
  for (int32_t y = 0; y < tree.height; ++y) {
    for (int32_t x = 0; x < tree.width; ++x) {
      const int32_t dx = x - 12;
      const int32_t dy = y - 10;
      if (InDisc(dx, dy, 10)) {
        const bool lit = dx + dy < -6 && Noise(x, y) % 3 != 0;
        const bool dark = dx + dy > 6 || Noise(x, y) % 7 == 0;
        At(tree, x, y) = Raw(palette, !InDisc(dx, dy, 9) ? 0x163814
                                      : lit              ? 0x5AA848
                                      : dark             ? 0x24562A
                                                         : 0x3A7C34);
      } else if (y >= 19 && y < 30 && x >= 10 && x < 14) {
        At(tree, x, y) = Raw(palette, x == 10 ? 0x3A2414 : 0x5C3C22);
      }
    }
  }
  return tree;
}

FramePicture TreeShadow() {
  FramePicture shadow = Blank(32, 14, kClear);
  for (int32_t y = 0; y < shadow.height; ++y) {
    for (int32_t x = 0; x < shadow.width; ++x) {
      // A slanted ellipse, as the sun from the top left throws it.
      const double ex = (x - 16 - (y - 7) * 0.8) / 12.0;
      const double ey = (y - 7) / 6.5;
      if (ex * ex + ey * ey <= 1.0) At(shadow, x, y) = {true, kRowShadow};
    }
  }
  return shadow;
}

// A house with a pitched roof (diagonal edges), a door, windows and a flag on its ridge.
FramePicture Building(PaletteBuilder& palette) {
  FramePicture house = Blank(64, 56, kClear);
  for (int32_t y = 0; y < house.height; ++y) {
    for (int32_t x = 0; x < house.width; ++x) {
      const int32_t roof_edge = 26 - std::abs(x - 32) * 22 / 28;  // the roof's lower-left line
      if (y >= 26 && y < 54 && x >= 8 && x < 56) {
        const bool door = x >= 28 && x < 36 && y >= 40;
        const bool window = (x % 16 >= 12 || x % 16 < 2) && y >= 32 && y < 38 && !door;
        const bool joint = y % 6 == 0 || (x + (y / 6) * 5) % 10 == 0;
        uint32_t colour = joint ? 0x8C8474 : 0xB8AE98;
        if (window) colour = 0x2A3C5C;
        if (door) colour = x == 28 || x == 35 ? kOutline : 0x6A4424;
        if (x == 8 || x == 55 || y == 53) colour = kOutline;
        At(house, x, y) = Raw(palette, colour);
      } else if (y >= roof_edge && y < 28 && x >= 4 && x < 60) {
        const bool edge = y == roof_edge || y == 27;
        At(house, x, y) = Raw(palette, edge                   ? kOutline
                                       : (y + x / 4) % 4 == 0 ? 0x7C2C1C
                                                              : 0xA43C24);
      }
    }
  }
  for (int32_t y = 0; y < 8; ++y) At(house, 32, y) = Raw(palette, kOutline);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 33; x < 42 - y; ++x) At(house, x, y) = {true, kFlag};
  }
  return house;
}

FramePicture BuildingShadow() {
  FramePicture shadow = Blank(64, 56, kClear);
  for (int32_t y = 10; y < shadow.height; ++y) {
    for (int32_t x = 0; x < shadow.width; ++x) {
      // The house's outline moved right and down, slanted like the tree shadows.
      const int32_t sx = x - 8 - (y - 10) / 4;
      if (sx >= 8 && sx < 60 && y >= 18 + std::abs(sx - 32) * 22 / 28 - 8) {
        At(shadow, x, y) = {true, kHalfShadow};
      }
    }
  }
  return shadow;
}

void MakeMinimap(SceneArt& art, PaletteBuilder& palette) {
  art.minimap_width = 100;
  art.minimap_height = 46;
  for (int32_t y = 0; y < art.minimap_height; ++y) {
    for (int32_t x = 0; x < art.minimap_width; ++x) {
      const bool border =
          x == 0 || y == 0 || x == art.minimap_width - 1 || y == art.minimap_height - 1;
      art.minimap.push_back(border ? 0 : palette.Index(Ground(x * 8, y * kMapHeight / 46)));
    }
  }
}

// A portrait in 24 bits: a helmeted face on a shaded ground, blue byte first.
void MakePortrait(SceneArt& art) {
  art.portrait_size = 46;
  for (int32_t y = 0; y < art.portrait_size; ++y) {
    for (int32_t x = 0; x < art.portrait_size; ++x) {
      uint32_t rgb = 0x203040 + static_cast<uint32_t>(y) * 0x010102;
      const int32_t dx = x - 23;
      if (InDisc(dx, y - 26, 13)) rgb = dx < -4 ? 0xE8B898 : 0xC89878;
      if (InDisc(dx, y - 20, 14) && y < 20) rgb = (x + y) % 5 == 0 ? 0xD8D8E0 : 0x989CA8;
      if ((x == 18 || x == 28) && y >= 25 && y < 28) rgb = 0x101010;
      art.portrait.push_back(static_cast<uint8_t>(rgb));
      art.portrait.push_back(static_cast<uint8_t>(rgb >> 8));
      art.portrait.push_back(static_cast<uint8_t>(rgb >> 16));
    }
  }
}

}  // namespace

SceneArt MakeSceneArt() {
  PaletteBuilder palette;
  SceneArt art;
  for (int32_t row = 0; row < kMapRows; ++row) {
    for (int32_t column = 0; column < kMapColumns; ++column) {
      FramePicture tile{kTile, kTile, {}};
      for (int32_t y = 0; y < kTile; ++y) {
        for (int32_t x = 0; x < kTile; ++x) {
          tile.samples.push_back(Raw(palette, Ground(column * kTile + x, row * kTile + y)));
        }
      }
      art.tiles.push_back(std::move(tile));
    }
  }
  art.unit = Unit(palette);
  art.selection = SelectionRing(palette);
  art.tree = Tree(palette);
  art.tree_shadow = TreeShadow();
  art.building = Building(palette);
  art.building_shadow = BuildingShadow();
  MakeMinimap(art, palette);
  MakePortrait(art);
  art.palette = palette.Colours();
  return art;
}

}  // namespace demo
