#include "present/filter_table.h"

#include "scale/color_magnitude.h"
#include "scale/scale2x_blend.h"
#include "scale/scale_bicubic.h"
#include "scale/scale_bilinear.h"
#include "scale/scale_nearest.h"
#include "scale/scale_ultra_sai.h"
#include "scale/scale_xbrz_2x.h"
#include "scale/sharpen_pass.h"

namespace qz::present {
namespace {

using namespace qz::scale;

constexpr FilterRow kFilters[kFilterCount] = {
    {"Nearest", nullptr, ScaleNearest, nullptr, false, false},
    {"Bilinear Sharper", nullptr, ScaleBilinearSharp, nullptr, false, false},
    {"Bilinear SharperX2", nullptr, ScaleBilinearSharpX2, nullptr, false, false},
    {"Bilinear SharperX2 (M)", nullptr, ScaleBilinearSharpX2, nullptr, true, false},
    {"Scale2x + Bilinear", Scale2xBlend, ScaleBilinear, nullptr, true, false},
    {"Scale2x + Bilinear Sharper", Scale2xBlend, ScaleBilinear, SharpenPass, true, false},
    {"UltraSaI + Bilinear", ScaleUltraSai, ScaleBilinear, nullptr, true, false},
    {"UltraSaI + Bilinear Sharper", ScaleUltraSai, ScaleBilinear, SharpenPass, true, false},
    {"UltraSaI + Bilinear SharperX2", ScaleUltraSai, ScaleBilinear, SharpenPassX2, true, false},
    {"xBRZ + Bilinear", ScaleXbrz2x, ScaleBilinear, nullptr, true, false},
    {"xBRZ + Bilinear Sharper", ScaleXbrz2x, ScaleBilinear, SharpenPass, true, false},
    {"xBRZ + Bilinear SharperX2", ScaleXbrz2x, ScaleBilinear, SharpenPassX2, true, false},
    {"xBRZ + Bicubic", ScaleXbrz2x, ScaleBicubic, SharpenPassX2, true, true},
};

}  // namespace

const FilterRow& Filter(int32_t index) {
  return kFilters[index < 0 || index >= kFilterCount ? 0 : index];
}

bool FilterAvailable(int32_t index) {
  if (index < 0 || index >= kFilterCount) return false;
  return index < kFirstDoublingFilter || ColorMagnitudeTable != nullptr;
}

int32_t FilterInForce(int32_t index) {
  return FilterAvailable(index) ? index : kFallbackFilter;
}

}  // namespace qz::present
