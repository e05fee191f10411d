#include "scale/scale_ultra_sai.h"

#include <algorithm>

#include "scale/neighbourhood_4x4.h"
#include "scale/packed_mix.h"

namespace qz::scale {
namespace {

struct Block {
  uint32_t top_left, top_right, bottom_left, bottom_right;
};

//     I E F J
//     G A B K      A is the current pixel.
//     H C D L
//     M N O P
struct Named4x4 {
  const Sample &i, &e, &f, &j, &g, &a, &b, &k, &h, &c, &d, &l, &m, &n, &o, &p;
};

Named4x4 Named(const Neighbourhood4x4& around) {
  const auto& at = around.at;
  return {at[0][0], at[0][1], at[0][2], at[0][3], at[1][0], at[1][1], at[1][2], at[1][3],
          at[2][0], at[2][1], at[2][2], at[2][3], at[3][0], at[3][1], at[3][2], at[3][3]};
}

// The right column. The first two cases are the common ones on edges and need two comparisons.
void RightColumn(const Named4x4& s, const uint32_t* table, Block& block) {
  const bool ad = Similar(s.a, s.d);
  const bool cb = Similar(s.c, s.b);
  if (cb && !ad) {
    block.top_right = s.b.colour;
    block.bottom_right = s.c.colour;
    return;
  }
  if (ad && !cb) {
    block.top_right = s.a.colour;
    block.bottom_right = s.d.colour;
    return;
  }
  if (ad && cb && !Similar(s.a, s.b)) {
    // Both diagonals hold: the neighbours vote for the one that continues a line.
    const Sample ad_mix = SampleOf(table, Average(s.a.colour, s.d.colour));
    const Sample cb_mix = SampleOf(table, Average(s.c.colour, s.b.colour));
    const int32_t votes = SaiGetResult(s.c, ad_mix, s.h, s.n) +
                          SaiGetResult(s.b, ad_mix, s.f, s.k) +
                          SaiGetResult(cb_mix, s.a, s.g, s.e) + SaiGetResult(cb_mix, s.d, s.o, s.l);
    if (votes >= 1) {
      block.top_right = s.b.colour;
      block.bottom_right = s.c.colour;
    } else if (votes == 0) {
      block.top_right = Average(s.b.colour, s.a.colour);
      block.bottom_right = Average(s.d.colour, s.c.colour);
    } else {
      block.top_right = s.a.colour;
      block.bottom_right = s.d.colour;
    }
    return;
  }
  if (Similar(s.b, s.d) && Similar(s.d, s.n) && !Similar(s.c, s.o) && !Similar(s.d, s.m)) {
    block.bottom_right = Quad(s.d.colour, s.n.colour, s.c.colour, s.b.colour);
  } else if (Similar(s.a, s.c) && Similar(s.c, s.o) && !Similar(s.n, s.d) && !Similar(s.c, s.p)) {
    block.bottom_right = Quad(s.o.colour, s.d.colour, s.c.colour, s.a.colour);
  } else {
    block.bottom_right = Average(s.d.colour, s.c.colour);
  }
  if (Similar(s.b, s.d) && Similar(s.b, s.e) && !Similar(s.a, s.f) && !Similar(s.b, s.i)) {
    block.top_right = Quad(s.e.colour, s.d.colour, s.b.colour, s.a.colour);
  } else if (Similar(s.a, s.c) && Similar(s.a, s.f) && !Similar(s.e, s.b) && !Similar(s.a, s.j)) {
    block.top_right = Quad(s.c.colour, s.b.colour, s.a.colour, s.f.colour);
  } else {
    block.top_right = Average(s.b.colour, s.a.colour);
  }
}

uint32_t BottomLeft(const Named4x4& s) {
  if (Similar(s.a, s.d) && !Similar(s.c, s.b) && Similar(s.g, s.a) && !Similar(s.a, s.o)) {
    return Mix121(Average(s.d.colour, s.g.colour), s.c.colour, s.a.colour);
  }
  if (Similar(s.a, s.h) && Similar(s.b, s.a) && !Similar(s.g, s.c) && !Similar(s.a, s.m)) {
    return Mix121(Average(s.h.colour, s.b.colour), s.c.colour, s.a.colour);
  }
  return s.c.colour;
}

uint32_t TopLeft(const Named4x4& s) {
  if (Similar(s.c, s.b) && !Similar(s.a, s.d) && Similar(s.h, s.c) && !Similar(s.c, s.f)) {
    return Mix121(Average(s.h.colour, s.b.colour), s.a.colour, s.c.colour);
  }
  if (Similar(s.g, s.c) && Similar(s.d, s.c) && !Similar(s.h, s.a) && !Similar(s.c, s.i)) {
    return Mix121(Average(s.d.colour, s.g.colour), s.a.colour, s.c.colour);
  }
  return s.a.colour;
}

}  // namespace

int32_t SaiGetResult(const Sample& a, const Sample& b, const Sample& c, const Sample& d) {
  int32_t a_votes = 0;
  int32_t b_votes = 0;
  if (Similar(a, c)) {
    ++a_votes;
  } else if (Similar(b, c)) {
    ++b_votes;
  }
  if (Similar(a, d)) {
    ++a_votes;
  } else if (Similar(b, d)) {
    ++b_votes;
  }
  return (a_votes <= 1 ? 1 : 0) - (b_votes <= 1 ? 1 : 0);
}

void ScaleUltraSai(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const ImageView& source = images.source;
  const ImageView& destination = images.destination;
  if (!ClipToImage(source, x0, x1, y0, y1)) return;
  const uint32_t* table = ColorMagnitudeTable;
  for (int32_t y = y0; y <= y1; ++y) {
    uint32_t* top = destination.pixels + static_cast<intptr_t>(2 * y) * destination.pitch;
    uint32_t* bottom = top + destination.pitch;
    ForEachNeighbourhood(ClampedSourceRows(source, y), x0, x1, table,
                         [&](int32_t x, const Neighbourhood4x4& around) {
                           const Named4x4 s = Named(around);
                           Block block{};
                           RightColumn(s, table, block);
                           block.bottom_left = BottomLeft(s);
                           block.top_left = TopLeft(s);
                           top[2 * x] = block.top_left;
                           top[2 * x + 1] = block.top_right;
                           bottom[2 * x] = block.bottom_left;
                           bottom[2 * x + 1] = block.bottom_right;
                         });
  }
}

}  // namespace qz::scale
