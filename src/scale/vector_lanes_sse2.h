#pragma once
// 32-bit lanes of an SSE2 register, four pixels side by side: the operations the xBRZ lane
// kernels are written in, so one text of them serves every instruction set the plug-in selects.
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace qz::scale {

struct Sse2Lanes {
  using Reg = __m128i;
  static constexpr int32_t kCount = 4;

  static Reg Load(const uint32_t* values) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(values));
  }
  static void Store(uint32_t* values, Reg lanes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(values), lanes);
  }
  static Reg Set(uint32_t value) { return _mm_set1_epi32(static_cast<int32_t>(value)); }
  static Reg Zero() { return _mm_setzero_si128(); }
  static Reg Add(Reg a, Reg b) { return _mm_add_epi32(a, b); }
  static Reg Sub(Reg a, Reg b) { return _mm_sub_epi32(a, b); }
  static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
  static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
  // ~a & b
  static Reg AndNot(Reg a, Reg b) { return _mm_andnot_si128(a, b); }
  static Reg Equal(Reg a, Reg b) { return _mm_cmpeq_epi32(a, b); }
  static Reg Greater(Reg a, Reg b) { return _mm_cmpgt_epi32(a, b); }
  static Reg Less(Reg a, Reg b) { return _mm_cmplt_epi32(a, b); }
  template <int Bits>
  static Reg ShiftLeft(Reg a) {
    return _mm_slli_epi32(a, Bits);
  }
  template <int Bits>
  static Reg ShiftRight(Reg a) {
    return _mm_srli_epi32(a, Bits);
  }
  static Reg Abs(Reg a) {
    const Reg sign = _mm_srai_epi32(a, 31);
    return _mm_sub_epi32(_mm_xor_si128(a, sign), sign);
  }
  static Reg Select(Reg mask, Reg if_set, Reg if_clear) {
    return _mm_or_si128(_mm_and_si128(mask, if_set), _mm_andnot_si128(mask, if_clear));
  }
  static bool Any(Reg mask) { return _mm_movemask_epi8(mask) != 0; }
  static bool All(Reg mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }

  // table[index] for each lane.
  static Reg Gather(const uint32_t* table, Reg index) {
    alignas(16) uint32_t at[kCount];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
    return _mm_setr_epi32(static_cast<int32_t>(table[at[0]]), static_cast<int32_t>(table[at[1]]),
                          static_cast<int32_t>(table[at[2]]), static_cast<int32_t>(table[at[3]]));
  }
  // kCount bytes, one per lane.
  static Reg WidenBytes(const uint8_t* bytes) {
    int32_t four = 0;
    std::memcpy(&four, bytes, sizeof(four));
    const Reg zero = _mm_setzero_si128();
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
  }
  // The low byte of each lane (every lane below 256).
  static void StoreBytes(uint8_t* bytes, Reg lanes) {
    const Reg words = _mm_packs_epi32(lanes, lanes);
    const int32_t four = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(bytes, &four, sizeof(four));
  }
  // Lane i of `left` and of `right` to pixels 2i and 2i + 1 of a row.
  static void StorePairs(uint32_t* pixels, Reg left, Reg right) {
    Store(pixels, _mm_unpacklo_epi32(left, right));
    Store(pixels + 4, _mm_unpackhi_epi32(left, right));
  }

  // A blend weight as Mix takes it: twice the weight in 256ths, in both 16-bit halves.
  static Reg Weight(uint32_t weight) { return Set(2 * weight * 0x10001); }
  // Per channel of 24-bit colours (weight * colour + (256 - weight) * pixel) / 256, rounded
  // down, as MixIn256ths (top bytes 0): that is pixel + (weight * (colour - pixel)) / 256, and with
  // the difference shifted up by 7 and the weight doubled the signed high half of one 16-bit
  // multiply is exactly that quotient, rounded down. Red and blue share 16-bit lanes, green
  // takes its own.
  static Reg Mix(Reg colour, Reg pixel, Reg weight) {
    const Reg low_bytes = _mm_set1_epi16(0xFF);
    const auto mix = [&](Reg colour_channels, Reg pixel_channels) {
      const Reg difference = _mm_slli_epi16(_mm_sub_epi16(colour_channels, pixel_channels), 7);
      return _mm_add_epi16(pixel_channels, _mm_mulhi_epi16(difference, weight));
    };
    const Reg red_blue = mix(_mm_and_si128(colour, low_bytes), _mm_and_si128(pixel, low_bytes));
    const Reg green = mix(_mm_srli_epi16(colour, 8), _mm_srli_epi16(pixel, 8));
    return _mm_or_si128(red_blue, _mm_slli_epi16(green, 8));
  }
};

}  // namespace qz::scale
