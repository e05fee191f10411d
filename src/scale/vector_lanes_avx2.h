#pragma once
// 32-bit lanes of an AVX2 register, eight pixels side by side, with the operations of Sse2Lanes.
// Only code built for processors with AVX2 includes this.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace qz::scale {

struct Avx2Lanes {
  using Reg = __m256i;
  static constexpr int32_t kCount = 8;

  static Reg Load(const uint32_t* values) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values));
  }
  static void Store(uint32_t* values, Reg lanes) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(values), lanes);
  }
  static Reg Set(uint32_t value) { return _mm256_set1_epi32(static_cast<int32_t>(value)); }
  static Reg Zero() { return _mm256_setzero_si256(); }
  static Reg Add(Reg a, Reg b) { return _mm256_add_epi32(a, b); }
  static Reg Sub(Reg a, Reg b) { return _mm256_sub_epi32(a, b); }
  static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
  static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
  // ~a & b
  static Reg AndNot(Reg a, Reg b) { return _mm256_andnot_si256(a, b); }
  static Reg Equal(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
  static Reg Greater(Reg a, Reg b) { return _mm256_cmpgt_epi32(a, b); }
  static Reg Less(Reg a, Reg b) { return _mm256_cmpgt_epi32(b, a); }
  template <int Bits>
  static Reg ShiftLeft(Reg a) {
    return _mm256_slli_epi32(a, Bits);
  }
  template <int Bits>
  static Reg ShiftRight(Reg a) {
    return _mm256_srli_epi32(a, Bits);
  }
  static Reg Abs(Reg a) { return _mm256_abs_epi32(a); }
  static Reg Select(Reg mask, Reg if_set, Reg if_clear) {
    return _mm256_blendv_epi8(if_clear, if_set, mask);
  }
  static bool Any(Reg mask) { return _mm256_movemask_epi8(mask) != 0; }
  static bool All(Reg mask) { return _mm256_movemask_epi8(mask) == -1; }

  static Reg Gather(const uint32_t* table, Reg index) {
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), index, 4);
  }
  static Reg WidenBytes(const uint8_t* bytes) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes)));
  }
  static void StoreBytes(uint8_t* bytes, Reg lanes) {
    // Packing works within each 128-bit half: bytes 0-3 hold lanes 0-3, bytes 16-19 lanes 4-7.
    const Reg words = _mm256_packs_epi32(lanes, lanes);
    const Reg packed = _mm256_packus_epi16(words, words);
    const int32_t low = _mm256_extract_epi32(packed, 0);
    const int32_t high = _mm256_extract_epi32(packed, 4);
    std::memcpy(bytes, &low, sizeof(low));
    std::memcpy(bytes + 4, &high, sizeof(high));
  }
  static void StorePairs(uint32_t* pixels, Reg left, Reg right) {
    // Interleaving works within each 128-bit half too: the halves are put back in order.
    const Reg low = _mm256_unpacklo_epi32(left, right);
    const Reg high = _mm256_unpackhi_epi32(left, right);
    Store(pixels, _mm256_permute2x128_si256(low, high, 0x20));
    Store(pixels + 8, _mm256_permute2x128_si256(low, high, 0x31));
  }

  static Reg Weight(uint32_t weight) { return Set(2 * weight * 0x10001); }
  static Reg Mix(Reg colour, Reg pixel, Reg weight) {
    const Reg low_bytes = _mm256_set1_epi16(0xFF);
    const auto mix = [&](Reg colour_channels, Reg pixel_channels) {
      const Reg difference =
          _mm256_slli_epi16(_mm256_sub_epi16(colour_channels, pixel_channels), 7);
      return _mm256_add_epi16(pixel_channels, _mm256_mulhi_epi16(difference, weight));
    };
    const Reg red_blue =
        mix(_mm256_and_si256(colour, low_bytes), _mm256_and_si256(pixel, low_bytes));
    const Reg green = mix(_mm256_srli_epi16(colour, 8), _mm256_srli_epi16(pixel, 8));
    return _mm256_or_si256(red_blue, _mm256_slli_epi16(green, 8));
  }
};

}  // namespace qz::scale
