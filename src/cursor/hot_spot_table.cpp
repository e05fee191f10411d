#include "cursor/hot_spot_table.h"

#include "core/splicer.h"
#include "cursor/mouse_manager.h"

namespace qz::cursor {

uint32_t HotSpotStride() {
  constexpr int32_t kArtifactsBit = 8;  // bit 3 of "QZ.ExeVersion"
  if ((core::ReadVariable("QZ.ExeVersion") & kArtifactsBit) != 0) {
    const int32_t artifacts = core::ReadVariable("Tarn.ArtifactsCount");
    if (artifacts != 0) return static_cast<uint32_t>(artifacts);
  }
  return 9u << (game::Cell<uint8_t>(game::kHotSpotShift) & 31);
}

uint32_t HotSpotEntry(int32_t type, int32_t frame) {
  const uint32_t stride = HotSpotStride();
  const uint32_t entry = static_cast<uint32_t>(type) * stride + static_cast<uint32_t>(frame);
  return entry >= 5 * stride ? 4 * stride : entry;
}

HotSpot HotSpotOf(int32_t type, int32_t frame) {
  const auto* table =
      reinterpret_cast<const uint32_t*>(uintptr_t{game::Cell<uint32_t>(game::kHotSpotTable)});
  const uint32_t entry = HotSpotEntry(type, frame);
  return HotSpot{table[2 * entry], table[2 * entry + 1]};
}

}  // namespace qz::cursor
