#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "enlarger_test_support.h"
#include "game_art_frame.h"
#include "scale/scale_xbrz_2x.h"
#include "scale/xbrz_blend.h"
#include "scale/xbrz_corners.h"

namespace qz::scale {
namespace {

using enlarger_test::Blocks;
using enlarger_test::ChannelMix;
using enlarger_test::Doubled;
using enlarger_test::Enlarge;
using enlarger_test::Frame;
using enlarger_test::ImagesOf;
using enlarger_test::RandomPixelArt;

class Xbrz2x : public enlarger_test::EnlargerTest {};

// Checks the block of every pixel of the frame's interior (margin pixels in from each edge).
template <typename Expected>
void ExpectInteriorBlocks(const Frame& frame, const Doubled& doubled, int32_t margin,
                          Expected expected_block) {
  for (int32_t y = margin; y < frame.height - margin; ++y) {
    for (int32_t x = margin; x < frame.width - margin; ++x) {
      const std::array<uint32_t, 4> block = expected_block(x, y);
      EXPECT_EQ(doubled.at(2 * x, 2 * y), block[0]) << x << ", " << y << " top left";
      EXPECT_EQ(doubled.at(2 * x + 1, 2 * y), block[1]) << x << ", " << y << " top right";
      EXPECT_EQ(doubled.at(2 * x, 2 * y + 1), block[2]) << x << ", " << y << " bottom left";
      EXPECT_EQ(doubled.at(2 * x + 1, 2 * y + 1), block[3]) << x << ", " << y << " bottom right";
    }
  }
}

std::array<uint32_t, 4> Flat(uint32_t colour) {
  return {colour, colour, colour, colour};
}

TEST_F(Xbrz2x, AUniformFrameGivesUniformBlocksWithTheTopByteCleared) {
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 6}, {6, 1}, {2, 2}, {9, 5}}) {
    const Frame frame(width, height, 0xAB5A3C1E);
    const Doubled doubled = Enlarge(ScaleXbrz2x, frame);
    ExpectInteriorBlocks(frame, doubled, 0, [](int32_t, int32_t) { return Flat(0x5A3C1E); });
  }
}

TEST_F(Xbrz2x, AnIsolatedPixelRoundsOnlyItsOwnBlock) {
  constexpr uint32_t kSurround = 0x203040;
  struct Case {
    uint32_t pixel;
    uint32_t weight;  // of the surround in the pixel's four outputs, in 256ths
  };
  // A distinct pixel is rounded off at each corner; one merely similar to its surround is drawn
  // as part of the surround's line and meets it halfway.
  for (const Case& c : {Case{0xE0A060, 56}, Case{0x223142, 128}}) {
    ASSERT_EQ(ColoursSimilar(ColorMagnitudeTable, c.pixel, kSurround), c.weight == 128);
    Frame frame(7, 7, kSurround);
    frame.at(3, 3) = c.pixel;
    const Doubled doubled = Enlarge(ScaleXbrz2x, frame);
    ExpectInteriorBlocks(frame, doubled, 0, [&](int32_t x, int32_t y) {
      if (x == 3 && y == 3) return Flat(ChannelMix(kSurround, c.pixel, c.weight));
      return Flat(kSurround);
    });
  }
}

Frame Transposed(const Frame& frame) {
  Frame transposed(frame.height, frame.width);
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) transposed.at(y, x) = frame.at(x, y);
  }
  return transposed;
}

// A line rising one pixel every two columns is drawn with quarter steps: the last lower pixel of
// each run leans a quarter and three quarters towards the upper colour, the first upper pixel
// leans back the same way. Transposed, the steep line gives the transposed blocks.
TEST_F(Xbrz2x, AShallowOrSteepStaircaseIsSmoothedInQuarters) {
  constexpr uint32_t kUpper = 0xF0E010;
  constexpr uint32_t kLower = 0x2050C0;
  Frame shallow(18, 7);
  for (int32_t y = 0; y < shallow.height; ++y) {
    for (int32_t x = 0; x < shallow.width; ++x) shallow.at(x, y) = x > 2 * y + 1 ? kUpper : kLower;
  }
  const auto expected_shallow = [&](int32_t x, int32_t y) {
    std::array<uint32_t, 4> block = Flat(shallow.at(x, y));
    if (x == 2 * y + 1)
      block = {ChannelMix(kUpper, kLower, 64), ChannelMix(kUpper, kLower, 192), kLower, kLower};
    if (x == 2 * y + 2)
      block = {kUpper, kUpper, ChannelMix(kLower, kUpper, 192), ChannelMix(kLower, kUpper, 64)};
    return block;
  };
  ExpectInteriorBlocks(shallow, Enlarge(ScaleXbrz2x, shallow), 1, expected_shallow);

  const Frame steep = Transposed(shallow);
  ExpectInteriorBlocks(steep, Enlarge(ScaleXbrz2x, steep), 1, [&](int32_t x, int32_t y) {
    const std::array<uint32_t, 4> block = expected_shallow(y, x);
    return std::array<uint32_t, 4>{block[0], block[2], block[1], block[3]};
  });
}

// The corner decision has no preferred side: mirroring or transposing the neighbourhood mirrors
// or transposes the verdict. Small palettes give the ties and exact equalities the rule tests.
TEST_F(Xbrz2x, CornerDecisionsAreSymmetric) {
  std::mt19937 random(3);
  const uint32_t palette[] = {0x000000, 0xFFFFFF, 0x808080, 0x828282, 0xC03020, 0x2050C0};
  int32_t blended = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    Neighbourhood4x4 around;
    const uint32_t colours = trial % 2 ? 3 : 6;
    for (auto& row : around.at) {
      for (auto& sample : row) sample = SampleOf(ColorMagnitudeTable, palette[random() % colours]);
    }
    Neighbourhood4x4 mirrored;
    Neighbourhood4x4 transposed;
    for (int32_t row = 0; row < 4; ++row) {
      for (int32_t column = 0; column < 4; ++column) {
        mirrored.at[row][column] = around.at[row][3 - column];
        transposed.at[row][column] = around.at[column][row];
      }
    }
    const CornerVerdict verdict = DecideCorner(around);
    const CornerVerdict mirror = DecideCorner(mirrored);
    const CornerVerdict transpose = DecideCorner(transposed);
    ASSERT_EQ(std::tuple(mirror.f, mirror.g, mirror.j, mirror.k),
              std::tuple(verdict.g, verdict.f, verdict.k, verdict.j))
        << trial;
    ASSERT_EQ(std::tuple(transpose.f, transpose.g, transpose.j, transpose.k),
              std::tuple(verdict.f, verdict.j, verdict.g, verdict.k))
        << trial;
    blended += verdict.f != kBlendNone;
  }
  EXPECT_GT(blended, 1000);
}

// One corner rule at a time, on a hand-made neighbourhood whose magnitudes are chosen freely.
struct CornerCase {
  const char* name;
  std::array<Sample, 9> around;      // a .. i, row by row
  std::array<uint32_t, 4> marks;     // top left, top right, bottom right, bottom left
  std::array<uint32_t, 4> expected;  // top left, top right, bottom left, bottom right
};

constexpr Sample kBack{0x102030, 0};
constexpr Sample kLine{0xF0E0D0, 200000000};
constexpr Sample kLineAlike{0xF0E0D4, 200001000};  // similar to kLine, not equal
constexpr Sample kOther{0x30C060, 200000000};      // as far from kBack as kLine

uint32_t Towards(const Sample& to, const Sample& from, uint32_t weight) {
  return ChannelMix(to.colour, from.colour, weight);
}

std::vector<CornerCase> CornerCases() {
  const Sample B = kBack, X = kLine, A = kLineAlike, Y = kOther;
  const uint32_t b = B.colour, x = X.colour;
  return {
      {"neither shallow nor steep: half",
       {B, B, B, B, B, X, B, X, X},
       {0, 0, 2, 0},
       {b, b, b, Towards(X, B, 128)}},
      {"shallow and steep: five sixths",
       {B, B, X, B, B, X, X, X, X},
       {0, 0, 2, 0},
       {b, Towards(X, B, 64), Towards(X, B, 64), Towards(X, B, 213)}},
      {"shallow: three quarters",
       {B, B, B, B, B, X, X, X, X},
       {0, 0, 2, 0},
       {b, b, Towards(X, B, 64), Towards(X, B, 192)}},
      {"steep: three quarters",
       {B, B, X, B, B, X, B, X, X},
       {0, 0, 2, 0},
       {b, Towards(X, B, 64), b, Towards(X, B, 192)}},
      {"shallow needs d and g exactly apart",
       {B, B, B, X, B, X, X, X, X},
       {0, 0, 2, 0},
       {b, b, b, Towards(X, B, 128)}},
      {"a merely similar d keeps it shallow",
       {B, B, B, A, B, X, X, X, X},
       {0, 0, 2, 0},
       {b, b, Towards(X, B, 64), Towards(X, B, 192)}},
      {"a line", {B, B, X, B, X, B, B, B, B}, {0, 0, 1, 0}, {x, x, x, Towards(B, X, 128)}},
      {"top right edge unlike g: corner",
       {B, B, X, B, X, B, B, B, B},
       {0, 1, 1, 0},
       {x, Towards(B, X, 56), x, Towards(B, X, 56)}},
      {"bottom left edge with c alike: line",
       {B, B, X, B, X, B, B, B, B},
       {0, 0, 1, 1},
       {x, x, Towards(B, X, 56), Towards(B, X, 128)}},
      {"dominant overrides the edge",
       {B, B, X, B, X, B, B, B, B},
       {0, 1, 2, 0},
       {x, Towards(B, X, 56), x, Towards(B, X, 128)}},
      {"notch in a flat L: corner",
       {B, B, B, B, X, B, B, B, B},
       {0, 0, 1, 0},
       {x, x, x, Towards(B, X, 56)}},
      {"no notch when i is alike",
       {B, B, B, B, X, B, B, B, X},
       {0, 0, 1, 0},
       {x, x, x, Towards(B, X, 128)}},
      {"a tie goes to f", {B, B, B, B, B, X, B, Y, B}, {0, 0, 2, 0}, {b, b, b, Towards(X, B, 128)}},
  };
}

// The case turned a quarter turn anticlockwise: the corner it treats moves from the bottom right
// to the top right, and so on round.
CornerCase TurnedAnticlockwise(const CornerCase& c) {
  CornerCase turned = c;
  for (int32_t row = 0; row < 3; ++row) {
    for (int32_t column = 0; column < 3; ++column) {
      turned.around[row * 3 + column] = c.around[column * 3 + 2 - row];
    }
  }
  for (int32_t field = 0; field < 4; ++field) turned.marks[field] = c.marks[(field + 1) % 4];
  const auto& block = c.expected;  // top left, top right, bottom left, bottom right
  turned.expected = {block[1], block[3], block[0], block[2]};
  return turned;
}

TEST_F(Xbrz2x, EachCornerRuleBlendsItsPixelsInEveryTurn) {
  for (CornerCase c : CornerCases()) {
    for (int32_t turn = 0; turn < 4; ++turn, c = TurnedAnticlockwise(c)) {
      const Grid3x3<Sample> around{c.around[0], c.around[1], c.around[2], c.around[3], c.around[4],
                                   c.around[5], c.around[6], c.around[7], c.around[8]};
      const uint32_t marks = c.marks[0] << kTopLeftShift | c.marks[1] << kTopRightShift |
                             c.marks[2] << kBottomRightShift | c.marks[3] << kBottomLeftShift;
      uint32_t top[2], bottom[2];
      top[0] = top[1] = bottom[0] = bottom[1] = c.around[4].colour;
      BlendBlock(around, marks, OutputBlock{{top, bottom}});
      EXPECT_EQ((std::array{top[0], top[1], bottom[0], bottom[1]}), c.expected)
          << c.name << ", turned " << turn << " times";
    }
  }
}

TEST(PackedMix, MixIn256thsRoundsEachChannelDown) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 2000; ++trial) {
    const uint32_t a = static_cast<uint32_t>(random()) & kColourMask;
    const uint32_t b = trial % 10 ? static_cast<uint32_t>(random()) & kColourMask : a ^ 0x010101;
    for (uint32_t weight = 0; weight <= 256; ++weight) {
      ASSERT_EQ(MixIn256ths(a, b, weight), ChannelMix(a, b, weight))
          << a << " " << b << " " << weight;
    }
  }
}

TEST_F(Xbrz2x, TheTopByteOfTheSourceChangesNothing) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    const Frame frame = RandomPixelArt(13, 11, seed);
    Frame colours_only = frame;
    for (auto& pixel : colours_only.pixels) pixel &= kColourMask;
    const Doubled doubled = Enlarge(ScaleXbrz2x, frame);
    EXPECT_EQ(Blocks(doubled, 0, 12, 0, 10),
              Blocks(Enlarge(ScaleXbrz2x, colours_only), 0, 12, 0, 10));
    for (uint32_t pixel : Blocks(doubled, 0, 12, 0, 10)) ASSERT_EQ(pixel >> 24, 0u);
  }
}

// Clamping at the edges means the frame behaves as if its edge rows and columns went on.
TEST_F(Xbrz2x, FrameEdgesActAsIfTheEdgePixelsWereRepeated) {
  uint32_t seed = 100;
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 7}, {7, 1}, {2, 3}, {9, 6}, {16, 12}}) {
    for (int trial = 0; trial < 5; ++trial) {
      const Frame frame = RandomPixelArt(width, height, ++seed);
      const Doubled doubled = Enlarge(ScaleXbrz2x, frame);
      const Doubled padded = Enlarge(ScaleXbrz2x, enlarger_test::Padded(frame, 2));
      EXPECT_EQ(Blocks(doubled, 0, width - 1, 0, height - 1),
                Blocks(padded, 2, width + 1, 2, height + 1))
          << width << " x " << height << " seed " << seed;
    }
  }
}

// Whatever the bands, the picture is the same: each call recomputes the corner marks of the row
// above it.
TEST_F(Xbrz2x, RowsCutAnywhereInEitherOrderGiveTheSamePicture) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    Frame frame = RandomPixelArt(11, 9, seed);
    for (const auto& [x0, x1] : {std::pair{0, 10}, {3, 7}}) {
      Doubled whole(frame, enlarger_test::kImageSpare);
      ScaleXbrz2x(ImagesOf(frame, whole), x0, x1, 0, frame.height - 1);
      const std::vector<uint32_t> expected = Blocks(whole, x0, x1, 0, frame.height - 1);
      for (int32_t cut = 0; cut + 1 < frame.height; ++cut) {
        Doubled top_first(frame, enlarger_test::kImageSpare);
        ScaleXbrz2x(ImagesOf(frame, top_first), x0, x1, 0, cut);
        ScaleXbrz2x(ImagesOf(frame, top_first), x0, x1, cut + 1, frame.height - 1);
        EXPECT_EQ(Blocks(top_first, x0, x1, 0, frame.height - 1), expected) << cut;
        Doubled bottom_first(frame, enlarger_test::kImageSpare);
        ScaleXbrz2x(ImagesOf(frame, bottom_first), x0, x1, cut + 1, frame.height - 1);
        ScaleXbrz2x(ImagesOf(frame, bottom_first), x0, x1, 0, cut);
        EXPECT_EQ(Blocks(bottom_first, x0, x1, 0, frame.height - 1), expected) << cut;
      }
    }
  }
}

Frame GameArt(int32_t width, int32_t height) {
  Frame frame(width, height);
  frame.pixels = benchmarks::GameArtFrame(width, height);
  return frame;
}

TEST_F(Xbrz2x, ThePictureIsIdenticalForOneToEightWorkers) {
  for (const Frame& frame : {RandomPixelArt(40, 61, 77), GameArt(300, 61)}) {
    const int32_t x1 = frame.width - 1, y1 = frame.height - 1;
    const std::vector<uint32_t> expected = Blocks(Enlarge(ScaleXbrz2x, frame), 0, x1, 0, y1);
    for (int32_t workers = 1; workers <= 8; ++workers) {
      for (int32_t min_rows : {1, 6}) {
        const Doubled doubled =
            enlarger_test::EnlargeInBands(ScaleXbrz2x, frame, workers, min_rows);
        EXPECT_EQ(Blocks(doubled, 0, x1, 0, y1), expected) << workers << " workers";
      }
    }
  }
}

// Nothing but the blocks is written, so nothing of a call is left where a later call or the
// scaling stage could see it, with or without spare pixels.
TEST_F(Xbrz2x, ACallWritesOnlyItsBlocks) {
  Frame frame = RandomPixelArt(12, 8, 5);
  for (const int32_t spare : {0, enlarger_test::kImageSpare}) {
    Doubled doubled(frame, spare);
    const int32_t x0 = 2, x1 = 6, y0 = 3, y1 = 5;
    ScaleXbrz2x(ImagesOf(frame, doubled), x0, x1, y0, y1);
    for (int32_t y = 0; y < doubled.rows; ++y) {
      for (int32_t x = 0; x < doubled.pitch; ++x) {
        const bool in_block = x >= 2 * x0 && x <= 2 * x1 + 1 && y >= 2 * y0 && y <= 2 * y1 + 1;
        if (!in_block) {
          ASSERT_EQ(doubled.at(x, y), Doubled::kUnwritten) << x << ", " << y;
        }
      }
    }
  }
}

TEST_F(Xbrz2x, RowsAndColumnsAreClippedToTheFrame) {
  Frame frame = RandomPixelArt(9, 7, 9);
  const std::vector<uint32_t> expected = Blocks(Enlarge(ScaleXbrz2x, frame), 0, 8, 0, 6);
  Doubled overhanging(frame, enlarger_test::kImageSpare);
  ScaleXbrz2x(ImagesOf(frame, overhanging), -4, 20, -3, 30);
  EXPECT_EQ(Blocks(overhanging, 0, 8, 0, 6), expected);

  for (const auto& [x0, x1, y0, y1] : {std::array{0, 8, 4, 3}, {5, 4, 0, 6}, {0, 8, 7, 9}}) {
    Doubled untouched(frame, enlarger_test::kImageSpare);
    ScaleXbrz2x(ImagesOf(frame, untouched), x0, x1, y0, y1);
    for (uint32_t pixel : untouched.pixels) ASSERT_EQ(pixel, Doubled::kUnwritten);
  }
}

// A frame of noise: every pixel any of `levels` grey-ish colours a few steps apart (so that
// similarity is decided near its limit), or any 24-bit colour when `levels` is 0.
Frame RandomNoise(int32_t width, int32_t height, uint32_t seed, uint32_t levels) {
  std::mt19937 random(seed);
  Frame frame(width, height);
  for (auto& pixel : frame.pixels) {
    const uint32_t value = static_cast<uint32_t>(random());
    if (levels == 0) {
      pixel = value;
    } else {
      const uint32_t level = (value % levels) * 9;
      pixel = (value & 0xFF000000) | (0x404040 + level * 0x010101 + ((value >> 8) & 0x030103));
    }
  }
  return frame;
}

// FNV-1a over the blocks of source columns x0..x1 and rows y0..y1, doubled in one call.
uint64_t PictureChecksum(VectorPath path, Frame frame, int32_t x0, int32_t x1, int32_t y0,
                         int32_t y1) {
  Doubled doubled(frame, enlarger_test::kImageSpare);
  ScaleXbrz2xOn(path, ImagesOf(frame, doubled), x0, x1, y0, y1);
  uint64_t hash = 14695981039346656037u;
  for (uint32_t pixel : Blocks(doubled, x0, x1, y0, y1)) hash = (hash ^ pixel) * 1099511628211u;
  return hash;
}

uint64_t PictureChecksum(VectorPath path, const Frame& frame) {
  return PictureChecksum(path, frame, 0, frame.width - 1, 0, frame.height - 1);
}

// Faster ways to the same picture must give the very same picture: checksums of frames of pixel
// art, of noise and of game art, whole and in part, taken from the straightforward kernel, for
// every instruction set this machine runs.
class Xbrz2xOnEveryPath : public enlarger_test::EnlargerTest,
                          public testing::WithParamInterface<VectorPath> {};

TEST_P(Xbrz2xOnEveryPath, PicturesStayAsTheyWere) {
  const VectorPath path = GetParam();
  if (!MachineRuns(path)) GTEST_SKIP() << "this processor cannot run the path";
  const std::vector<Frame> frames = {RandomPixelArt(97, 61, 1),  RandomPixelArt(64, 64, 2),
                                     RandomPixelArt(33, 120, 3), RandomNoise(50, 40, 4, 0),
                                     RandomNoise(71, 53, 5, 3),  RandomNoise(80, 30, 6, 8),
                                     RandomNoise(1, 9, 7, 3),    RandomPixelArt(200, 150, 8),
                                     RandomNoise(3, 1, 9, 2),    GameArt(320, 240)};
  const uint64_t expected[] = {0x27e0bb9c876eb854u, 0x14f0ce10669d1544u, 0xf418cf876807677cu,
                               0xda2f373c71291ef5u, 0x36a02d9ae66a964cu, 0x1c14f2c0cad10d6du,
                               0x1a862c5d72225131u, 0xfe29425130aaae29u, 0x5147be50ec81caadu,
                               0x9d36d5142a171e68u};
  ASSERT_EQ(frames.size(), std::size(expected));
  for (size_t index = 0; index < frames.size(); ++index) {
    EXPECT_EQ(PictureChecksum(path, frames[index]), expected[index]) << index;
  }
  // Rectangles that start and end anywhere, in frames wider than any piece a kernel may cut.
  const Frame wide_art = GameArt(1100, 70);
  const Frame wide_noise = RandomNoise(1300, 20, 10, 0);
  EXPECT_EQ(PictureChecksum(path, wide_art, 37, 1051, 5, 66), 0x0fd6e41730b06494u);
  EXPECT_EQ(PictureChecksum(path, wide_art, 0, 1099, 11, 12), 0x2f866e1cc4778f1eu);
  EXPECT_EQ(PictureChecksum(path, wide_noise, 259, 1298, 1, 19), 0x90c662c103712e2cu);
  EXPECT_EQ(PictureChecksum(path, wide_noise, 3, 4, 0, 19), 0xa63a394095f51dd3u);
}

INSTANTIATE_TEST_SUITE_P(Paths, Xbrz2xOnEveryPath,
                         testing::Values(VectorPath::kSse2, VectorPath::kAvx2),
                         [](const testing::TestParamInfo<VectorPath>& path) {
                           return path.param == VectorPath::kSse2 ? "Sse2" : "Avx2";
                         });

}  // namespace
}  // namespace qz::scale
