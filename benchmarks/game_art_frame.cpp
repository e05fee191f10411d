#include "game_art_frame.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <unordered_set>

#include "scale/color_magnitude.h"
#include "scale/neighbourhood_4x4.h"
#include "scale/xbrz_corners.h"
#include "truecolour/pixel_operations.h"

namespace qz::benchmarks {
namespace {

struct Colour {
  double red, green, blue;  // 0..255
};

Colour Mix(const Colour& a, const Colour& b, double share_of_b) {
  return {a.red + (b.red - a.red) * share_of_b, a.green + (b.green - a.green) * share_of_b,
          a.blue + (b.blue - a.blue) * share_of_b};
}

Colour Scaled(const Colour& colour, double factor) {
  return {colour.red * factor, colour.green * factor, colour.blue * factor};
}

// 4 x 4 ordered dither thresholds, in units of one 16-bit colour step.
constexpr double kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Rounds to the 16-bit palette as the game's art is stored, dithered where asked, and widens the
// result to a frame pixel as the game's drawing does (low bits zero).
uint32_t Palette565(const Colour& colour, int32_t x, int32_t y, bool dither) {
  const double offset = dither ? (kBayer[y & 3][x & 3] + 0.5) / 16 : 0.5;
  const auto level = [&](double value, double steps) {
    const double step = 255.0 / steps;
    return static_cast<uint32_t>(std::clamp(std::floor(value / step + offset), 0.0, steps));
  };
  const uint32_t packed =
      level(colour.red, 31) << 11 | level(colour.green, 63) << 5 | level(colour.blue, 31);
  return ((packed & 0xF800) << 8) | ((packed & 0x07E0) << 5) | ((packed & 0x001F) << 3);
}

// Smooth value noise: random values on a grid of `cell` pixels, interpolated with a smoothstep.
class ValueNoise {
 public:
  ValueNoise(int32_t width, int32_t height, int32_t cell, std::mt19937& random)
      : cell_(cell), columns_(width / cell + 2), values_(size_t(columns_) * (height / cell + 2)) {
    std::uniform_real_distribution<double> unit(0, 1);
    for (double& value : values_) value = unit(random);
  }
  double At(int32_t x, int32_t y) const {
    const double fx = double(x % cell_) / cell_, fy = double(y % cell_) / cell_;
    const auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const auto value = [&](int32_t column, int32_t row) {
      return values_[size_t(row) * columns_ + column];
    };
    const int32_t column = x / cell_, row = y / cell_;
    const double top =
        value(column, row) + (value(column + 1, row) - value(column, row)) * smooth(fx);
    const double bottom =
        value(column, row + 1) + (value(column + 1, row + 1) - value(column, row + 1)) * smooth(fx);
    return top + (bottom - top) * smooth(fy);
  }

 private:
  int32_t cell_;
  int32_t columns_;
  std::vector<double> values_;
};

class Canvas {
 public:
  Canvas(int32_t width, int32_t height)
      : width_(width), height_(height), pixels_(size_t(width) * height) {}
  bool Inside(int32_t x, int32_t y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
  uint32_t& at(int32_t x, int32_t y) { return pixels_[size_t(y) * width_ + x]; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  std::vector<uint32_t> Take() { return std::move(pixels_); }

 private:
  int32_t width_, height_;
  std::vector<uint32_t> pixels_;
};

Colour ColourOf(uint32_t pixel) {
  return {double(pixel >> 16 & 255), double(pixel >> 8 & 255), double(pixel & 255)};
}

// Grass, earth, sand and rock blended by two noises, textured with fine noise, in places
// dithered.
void DrawTerrain(Canvas& canvas, std::mt19937& random) {
  const Colour grass{70, 120, 40}, earth{120, 90, 55}, sand{200, 180, 120}, rock{110, 110, 115};
  const ValueNoise region(canvas.width(), canvas.height(), 160, random);
  const ValueNoise moisture(canvas.width(), canvas.height(), 90, random);
  const ValueNoise texture(canvas.width(), canvas.height(), 3, random);
  std::uniform_real_distribution<double> grain(-3, 3);
  for (int32_t y = 0; y < canvas.height(); ++y) {
    for (int32_t x = 0; x < canvas.width(); ++x) {
      const double r = region.At(x, y), m = moisture.At(x, y);
      Colour ground = Mix(Mix(sand, earth, std::clamp(r * 1.6, 0.0, 1.0)), grass, m);
      ground = Mix(ground, rock, std::clamp((r - 0.7) * 3, 0.0, 1.0));
      const double light = 0.85 + 0.25 * texture.At(x, y) + grain(random) / 255;
      // Some tiles of the map are drawn dithered, as art converted from more colours is.
      const bool dithered = (x / 64 + y / 64) % 3 == 0;
      canvas.at(x, y) = Palette565(Scaled(ground, light), x, y, dithered);
    }
  }
}

// A unit or building: a shaded body (lit from the top left) with a darker outline, its edge
// pixels mixed with the ground by coverage as pre-rendered art is, and a shadow to its lower
// right drawn as the game's shadow routines darken what lies below.
void DrawSprite(Canvas& canvas, int32_t centre_x, int32_t centre_y, double radius_x,
                double radius_y, const Colour& body, bool deep_shadow) {
  const int32_t reach_x = int32_t(radius_x) + 2, reach_y = int32_t(radius_y) + 2;
  for (int32_t y = -reach_y; y <= reach_y; ++y) {
    for (int32_t x = -reach_x; x <= reach_x; ++x) {
      const int32_t px = centre_x + x + int32_t(radius_x / 2), py = centre_y + y + 3;
      const double sx = x / radius_x, sy = y / (radius_y * 0.5);
      if (!canvas.Inside(px, py) || sx * sx + sy * sy > 1) continue;
      uint32_t& pixel = canvas.at(px, py);
      pixel = deep_shadow ? truecolour::Dark75(pixel) : truecolour::Dark50(pixel);
    }
  }
  for (int32_t y = -reach_y; y <= reach_y; ++y) {
    for (int32_t x = -reach_x; x <= reach_x; ++x) {
      const int32_t px = centre_x + x, py = centre_y + y;
      if (!canvas.Inside(px, py)) continue;
      int32_t covered = 0;  // of 4 x 4 samples
      for (int32_t sample = 0; sample < 16; ++sample) {
        const double sx = (x + (sample % 4 + 0.5) / 4 - 0.5) / radius_x;
        const double sy = (y + (sample / 4 + 0.5) / 4 - 0.5) / radius_y;
        covered += sx * sx + sy * sy <= 1;
      }
      if (covered == 0) continue;
      const double nx = x / radius_x, ny = y / radius_y;
      const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
      const double lit = std::clamp(0.35 + 0.9 * (-0.5 * nx - 0.6 * ny + 0.62 * nz), 0.2, 1.3);
      const bool outline = nx * nx + ny * ny > 0.8;
      const Colour shaded = Scaled(body, outline ? 0.45 : lit);
      const Colour over = Mix(ColourOf(canvas.at(px, py)), shaded, covered / 16.0);
      canvas.at(px, py) = Palette565(over, px, py, false);
    }
  }
}

// 5 x 7 glyphs of a few letters, one row a string.
constexpr const char* kGlyphs[][7] = {
    {"01110", "10001", "10001", "11111", "10001", "10001", "10001"},  // A
    {"11110", "10001", "10001", "11110", "10001", "10001", "11110"},  // B
    {"01111", "10000", "10000", "10000", "10000", "10000", "01111"},  // C
    {"11111", "10000", "10000", "11110", "10000", "10000", "11111"},  // E
    {"10001", "11001", "10101", "10011", "10001", "10001", "10001"},  // N
    {"11110", "10001", "10001", "11110", "10100", "10010", "10001"},  // R
    {"11111", "00100", "00100", "00100", "00100", "00100", "00100"},  // T
    {"00000", "00000", "00000", "00000", "00000", "00000", "00000"},  // space
};

// The panel at the bottom: a vertical gradient with a bevel, a portrait frame and lines of
// shadowed text.
void DrawPanel(Canvas& canvas, std::mt19937& random) {
  const int32_t top = canvas.height() - canvas.height() / 6;
  const Colour stone_light{150, 140, 120}, stone_dark{60, 55, 50};
  for (int32_t y = top; y < canvas.height(); ++y) {
    for (int32_t x = 0; x < canvas.width(); ++x) {
      const double t = double(y - top) / (canvas.height() - top);
      Colour colour = Mix(stone_light, stone_dark, t);
      if (y - top < 3) colour = Scaled(stone_light, 1.25);
      canvas.at(x, y) = Palette565(colour, x, y, true);
    }
  }
  const Colour ink{235, 215, 150};
  std::uniform_int_distribution<int32_t> letter(0, std::size(kGlyphs) - 1);
  for (int32_t line_top = top + 8; line_top + 9 < canvas.height(); line_top += 11) {
    for (int32_t left = 8; left + 6 < canvas.width() * 2 / 3; left += 6) {
      const auto& glyph = kGlyphs[letter(random)];
      for (int32_t row = 0; row < 7; ++row) {
        for (int32_t column = 0; column < 5; ++column) {
          if (glyph[row][column] != '1') continue;
          uint32_t& shadow = canvas.at(left + column + 1, line_top + row + 1);
          shadow = truecolour::Dark50(shadow);
          canvas.at(left + column, line_top + row) = Palette565(ink, 0, 0, false);
        }
      }
    }
  }
}

}  // namespace

std::vector<uint32_t> GameArtFrame(int32_t width, int32_t height) {
  std::mt19937 random(1999);
  Canvas canvas(width, height);
  DrawTerrain(canvas, random);
  std::uniform_int_distribution<int32_t> column(0, width - 1), row(0, height - 1);
  std::uniform_real_distribution<double> size(5, 22), channel(30, 230);
  for (int32_t sprite = 0; sprite < width * height / 1600; ++sprite) {
    const double radius = size(random);
    DrawSprite(canvas, column(random), row(random), radius, radius * 0.8,
               {channel(random), channel(random), channel(random)}, sprite % 3 == 0);
  }
  DrawPanel(canvas, random);
  return canvas.Take();
}

FrameCharacter CharacterOf(const std::vector<uint32_t>& frame, int32_t width, int32_t height) {
  FrameCharacter character;
  std::unordered_set<uint32_t> colours;
  int64_t flat = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t pixel = frame[size_t(y) * width + x] & scale::kColourMask;
      colours.insert(pixel);
      if (x + 1 < width && y + 1 < height) {
        const auto at = [&](int32_t dx, int32_t dy) {
          return frame[size_t(y + dy) * width + x + dx] & scale::kColourMask;
        };
        flat += at(1, 0) == pixel && at(0, 1) == pixel && at(1, 1) == pixel;
      }
    }
  }
  character.flat_blocks = double(flat) / (double(width - 1) * (height - 1));
  character.distinct_colours = int32_t(colours.size());

  // The corner below right of every pixel, then each pixel's four corners.
  const scale::ImageView source{const_cast<uint32_t*>(frame.data()), width, width, height};
  std::vector<scale::CornerVerdict> verdicts(size_t(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    const scale::SourceRows rows = scale::ClampedSourceRows(source, y);
    for (int32_t x = 0; x < width; ++x) {
      scale::Neighbourhood4x4 around;
      for (int32_t slot = 0; slot < 4; ++slot) {
        scale::LoadColumn(around, slot, rows, x - 1 + slot, scale::ColorMagnitudeTable);
      }
      verdicts[size_t(y) * width + x] = scale::DecideCorner(around);
    }
  }
  int64_t marked = 0;
  for (int32_t y = 1; y < height; ++y) {
    for (int32_t x = 1; x < width; ++x) {
      const auto at = [&](int32_t dx, int32_t dy) {
        return verdicts[size_t(y + dy) * width + x + dx];
      };
      marked += (at(0, 0).f | at(-1, 0).g | at(0, -1).j | at(-1, -1).k) != 0;
    }
  }
  character.marked_pixels = double(marked) / (double(width - 1) * (height - 1));
  return character;
}

}  // namespace qz::benchmarks
