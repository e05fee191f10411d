#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>
#include <vector>

#include "enlarger_test_support.h"
#include "scale/packed_mix.h"
#include "scale/scale_ultra_sai.h"

namespace qz::scale {
namespace {

using enlarger_test::BlockAt;
using enlarger_test::Blocks;
using enlarger_test::ChannelMix;
using enlarger_test::Doubled;
using enlarger_test::Enlarge;
using enlarger_test::Frame;
using enlarger_test::ImagesOf;
using enlarger_test::RandomPixelArt;

class UltraSai : public enlarger_test::EnlargerTest {};

// Per channel (sum of weight * colour) / 4, rounded down.
uint32_t ChannelQuarters(std::initializer_list<std::pair<uint32_t, uint32_t>> weighted) {
  uint32_t mixed = 0;
  for (uint32_t shift : {0u, 8u, 16u}) {
    uint32_t sum = 0;
    for (const auto& [colour, weight] : weighted) sum += ((colour >> shift) & 255) * weight;
    mixed |= (sum / 4) << shift;
  }
  return mixed;
}

TEST(PackedMix, QuadAndMix121RoundEachChannelDown) {
  std::mt19937 random(9);
  const auto colour = [&] { return static_cast<uint32_t>(random()) & kColourMask; };
  for (int trial = 0; trial < 100000; ++trial) {
    const uint32_t a = colour(), b = colour(), c = colour(), d = colour();
    ASSERT_EQ(Quad(a, b, c, d), ChannelQuarters({{a, 1}, {b, 1}, {c, 1}, {d, 1}}));
    ASSERT_EQ(Mix121(a, b, c), ChannelQuarters({{a, 1}, {b, 2}, {c, 1}}));
  }
  EXPECT_EQ(Quad(0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF), 0xFFFFFFu);
  EXPECT_EQ(Mix121(0x030303, 0x030303, 0x030303), 0x030303u);
}

TEST_F(UltraSai, SaiGetResultVotesForTheColourThatMatchesBoth) {
  const Sample p{0x102030, 0};
  const Sample p_alike{0x102034, 1000};
  const Sample q{0xF0E0D0, 200000000};
  const Sample r{0x30C060, 100000000};
  // A chain of neighbours each 5000000 apart: alike in pairs, unlike two steps away.
  const Sample chain[] = {
      {0x101010, 0}, {0x111111, 5000000}, {0x121212, 10000000}, {0x131313, 15000000}};
  struct Case {
    Sample a, b, c, d;
    int32_t vote;
  };
  for (const Case& c : {
           Case{p, q, p_alike, p, -1},                       // a like both
           Case{p, p, p, p, -1},                             // a like both, and b as well
           Case{q, p, p, p_alike, 1},                        // b like both, a like neither
           Case{q, p, q, p, 0},                              // one each
           Case{r, p, q, q, 0},                              // neither
           Case{q, p, p, r, 0},                              // b like one only
           Case{chain[0], chain[2], chain[3], chain[1], 0},  // a like d, b like c and d
       }) {
    EXPECT_EQ(SaiGetResult(c.a, c.b, c.c, c.d), c.vote)
        << c.a.colour << " " << c.b.colour << " " << c.c.colour << " " << c.d.colour;
  }
}

constexpr uint32_t kP = 0x203040;
constexpr uint32_t kX = 0xE0C0A0;
constexpr uint32_t kQ = 0x6020C0;
constexpr uint32_t kXAlike = 0xF0D0B0;  // similar to kX, not equal

// One rule at a time: a 4 x 4 frame drawn with the letters p, x, q and y (like x) around A at
// (1, 1),
//
//     I E F J
//     G A B K
//     H C D L
//     M N O P
//
// and A's block (top left, top right, bottom left, bottom right) worked out by hand.
struct RuleCase {
  const char* name;
  std::array<const char*, 4> rows;
  std::array<uint32_t, 4> expected;
};

uint32_t Avg(uint32_t a, uint32_t b) {
  return ChannelQuarters({{a, 2}, {b, 2}});
}
uint32_t Quarters(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return ChannelQuarters({{a, 1}, {b, 1}, {c, 1}, {d, 1}});
}
uint32_t OneTwoOne(uint32_t first, uint32_t centre, uint32_t last) {
  return ChannelQuarters({{first, 1}, {centre, 2}, {last, 1}});
}

TEST_F(UltraSai, EachRuleGivesTheBlockWorkedOutByHand) {
  for (uint32_t a : {kP, kX, kQ}) {
    for (uint32_t b : {kP, kX, kQ}) ASSERT_EQ(ColoursSimilar(ColorMagnitudeTable, a, b), a == b);
  }
  ASSERT_TRUE(ColoursSimilar(ColorMagnitudeTable, kX, kXAlike));
  const uint32_t p = kP, x = kX, q = kQ, y = kXAlike;
  const RuleCase cases[] = {
      {"right column: B and C alike", {"pppp", "pqxp", "pxpp", "pppp"}, {q, x, x, x}},
      {"right column: A and D alike", {"pppp", "pxpp", "pqxp", "pppp"}, {x, x, q, x}},
      {"both diagonals, the surround votes for B and C",
       {"pppp", "ppxp", "pxpp", "pppp"},
       {p, x, x, x}},
      {"both diagonals, the surround votes for A and D",
       {"xxxx", "xpxx", "xxpx", "xxxx"},
       {p, p, x, p}},
      {"bottom right from B, D and N",
       {"pppp", "ppxp", "ppxp", "pyqp"},
       {p, Avg(x, p), p, Quarters(x, y, p, x)}},
      {"bottom right from A, C and O",
       {"pppp", "pxpp", "pxpp", "pqyp"},
       {x, Avg(p, x), x, Quarters(y, p, x, x)}},
      {"top right from B, D and E",
       {"qyqp", "ppxp", "ppxp", "pppp"},
       {p, Quarters(y, x, x, p), p, Avg(x, p)}},
      {"top right from A, C and F",
       {"pqyq", "pxpp", "pxpp", "pppp"},
       {x, Quarters(x, p, x, y), x, Avg(p, x)}},
      {"bottom left from A, D and G",
       {"pppp", "yxpp", "pqxp", "pppp"},
       {x, x, OneTwoOne(Avg(x, y), q, x), x}},
      {"bottom left from A, B and H",
       {"pppp", "pxxp", "yqpp", "pppp"},
       {x, x, OneTwoOne(Avg(y, x), q, x), Avg(p, q)}},
      {"top left from B, C and H",
       {"pppp", "pqxp", "yxpp", "pppp"},
       {OneTwoOne(Avg(y, x), q, x), x, x, x}},
      {"top left from C, D and G",
       {"pppp", "yqpp", "pxxp", "pppp"},
       {OneTwoOne(Avg(x, y), q, x), Avg(p, q), x, x}},
  };
  for (const RuleCase& c : cases) {
    Frame frame(4, 4);
    for (int32_t row = 0; row < 4; ++row) {
      for (int32_t column = 0; column < 4; ++column) {
        const char letter = c.rows[row][column];
        frame.at(column, row) = letter == 'p'   ? kP
                                : letter == 'x' ? kX
                                : letter == 'y' ? kXAlike
                                                : kQ;
      }
    }
    EXPECT_EQ(BlockAt(Enlarge(ScaleUltraSai, frame), 1, 1), c.expected) << c.name;
  }
}

TEST_F(UltraSai, AUniformFrameGivesAUniformImageWithTheTopByteCleared) {
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 4}, {4, 1}, {6, 5}}) {
    const Frame frame(width, height, 0x9F2468AC);
    for (uint32_t pixel : Blocks(Enlarge(ScaleUltraSai, frame), 0, width - 1, 0, height - 1)) {
      ASSERT_EQ(pixel, 0x2468ACu);
    }
  }
}

// Both diagonals hold and the neighbours' votes cancel: the right column takes the averages.
TEST_F(UltraSai, ACheckerboardAveragesItsRightColumn) {
  constexpr uint32_t kEven = 0xE0C0A0;
  constexpr uint32_t kOdd = 0x204060;
  Frame frame(10, 8);
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) frame.at(x, y) = (x + y) % 2 ? kOdd : kEven;
  }
  const Doubled doubled = Enlarge(ScaleUltraSai, frame);
  const uint32_t average = ChannelMix(kEven, kOdd, 128);
  for (int32_t y = 1; y + 2 < frame.height; ++y) {
    for (int32_t x = 1; x + 2 < frame.width; ++x) {
      const uint32_t own = frame.at(x, y);
      const uint32_t other = own ^ kEven ^ kOdd;
      EXPECT_EQ(BlockAt(doubled, x, y), (std::array{own, average, other, average}))
          << x << ", " << y;
    }
  }
}

TEST_F(UltraSai, FrameEdgesActAsIfTheEdgePixelsWereRepeated) {
  uint32_t seed = 500;
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 6}, {6, 1}, {2, 3}, {9, 7}, {14, 10}}) {
    for (int trial = 0; trial < 5; ++trial) {
      const Frame frame = RandomPixelArt(width, height, ++seed);
      EXPECT_EQ(Blocks(Enlarge(ScaleUltraSai, frame), 0, width - 1, 0, height - 1),
                Blocks(Enlarge(ScaleUltraSai, enlarger_test::Padded(frame, 2)), 2, width + 1, 2,
                       height + 1))
          << width << " x " << height << " seed " << seed;
    }
  }
}

TEST_F(UltraSai, TheTopByteOfTheSourceChangesNothing) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    const Frame frame = RandomPixelArt(12, 9, seed);
    Frame colours_only = frame;
    for (auto& pixel : colours_only.pixels) pixel &= kColourMask;
    const std::vector<uint32_t> blocks = Blocks(Enlarge(ScaleUltraSai, frame), 0, 11, 0, 8);
    EXPECT_EQ(blocks, Blocks(Enlarge(ScaleUltraSai, colours_only), 0, 11, 0, 8));
    for (uint32_t pixel : blocks) ASSERT_EQ(pixel >> 24, 0u);
  }
}

TEST_F(UltraSai, ACallWritesItsBlocksAndNothingElse) {
  Frame frame = RandomPixelArt(10, 8, 4);
  for (const auto& [x0, x1, y0, y1] :
       {std::array{2, 6, 3, 5}, {0, 9, 0, 7}, {-2, 20, 6, 12}, {5, 4, 0, 7}}) {
    Doubled doubled(frame, 0);
    ScaleUltraSai(ImagesOf(frame, doubled), x0, x1, y0, y1);
    const int32_t left = std::max(x0, 0), right = std::min(x1, 9);
    const int32_t top = std::max(y0, 0), bottom = std::min(y1, 7);
    for (int32_t y = 0; y < doubled.rows; ++y) {
      for (int32_t x = 0; x < doubled.pitch; ++x) {
        const bool in_block =
            x >= 2 * left && x <= 2 * right + 1 && y >= 2 * top && y <= 2 * bottom + 1;
        ASSERT_EQ(doubled.at(x, y) == Doubled::kUnwritten, !in_block) << x << ", " << y;
      }
    }
  }
}

}  // namespace
}  // namespace qz::scale
