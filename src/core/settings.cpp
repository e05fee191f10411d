#include "core/settings.h"

namespace qz::core {

int32_t srcW = 0;
int32_t srcH = 0;
int32_t ScreenW = 0;
int32_t ScreenH = 0;
int32_t dstX = 0;
int32_t dstY = 0;
int32_t dstW = 0;
int32_t dstH = 0;
int32_t FilterIndex = 2;
uint32_t SavedAffinityMask = 1;

int32_t FilterForSetting(int32_t requested) {
  if (requested < 0) return 0;
  return requested >= kFilterCount ? kFilterCount - 1 : requested;
}

}  // namespace qz::core
