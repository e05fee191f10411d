#pragma once
// Colour similarity shared by the 2x enlargers: one magnitude per 24-bit colour, so a colour
// difference is two lookups and a subtraction instead of floating point per pixel.
#include <cstdint>

namespace qz::scale {

inline constexpr uint32_t kColourMask = 0xFFFFFF;
// Exactly 30.0 magnitude units of 394758 table units each.
inline constexpr int32_t kSimilarityLimit = 11842740;

// 2^24 entries, built once at start-up; null until then or when its 64 MiB could not be had.
// The builder follows them with kWidenedColours more: the entries of the 16-bit colours widened
// as the game widens them, indexed by the 16-bit colour, so the colours most of a frame is drawn
// in have their magnitudes in 256 KiB that the caches can hold.
extern const uint32_t* ColorMagnitudeTable;

inline constexpr uint32_t kTableColours = 1u << 24;
inline constexpr uint32_t kWidenedColours = 1u << 16;

// Builds and publishes the table. Returns false, leaving the pointer null, when the memory cannot
// be had; a null table must never reach a kernel.
bool BuildColorMagnitudeTable();

// Writes the magnitudes of all 2^24 colours, in colour order, into `table`.
void FillColorMagnitudeTable(uint32_t* table);

// Entries stay below 2^31, so the signed difference of two of them cannot overflow.
inline int32_t MagnitudeDistance(uint32_t a_magnitude, uint32_t b_magnitude) {
  const int32_t difference = static_cast<int32_t>(a_magnitude - b_magnitude);
  return difference < 0 ? -difference : difference;
}

inline int32_t ColourDistance(const uint32_t* table, uint32_t a, uint32_t b) {
  return MagnitudeDistance(table[a & kColourMask], table[b & kColourMask]);
}

inline bool ColoursSimilar(const uint32_t* table, uint32_t a, uint32_t b) {
  return ColourDistance(table, a, b) < kSimilarityLimit;
}

// A pixel masked to its 24 colour bits, with its magnitude looked up once for all the
// comparisons a kernel makes with it.
struct Sample {
  uint32_t colour = 0;
  uint32_t magnitude = 0;
};

inline Sample SampleOf(const uint32_t* table, uint32_t pixel) {
  const uint32_t colour = pixel & kColourMask;
  return {colour, table[colour]};
}

inline int32_t Distance(const Sample& a, const Sample& b) {
  return MagnitudeDistance(a.magnitude, b.magnitude);
}

inline bool Similar(const Sample& a, const Sample& b) {
  return Distance(a, b) < kSimilarityLimit;
}

}  // namespace qz::scale
