#pragma once
// The play-through's pixel art, made by the project itself as the game keeps its art: sprite
// frames of palette indices in all four layouts (map tiles, units with flag banners and shadows,
// trees, buildings, a selection ring), one 256-colour RGB565 palette, and the panel's 8-bit
// minimap and 24-bit portrait.
#include <cstdint>
#include <vector>

#include "frame_encoder.h"

namespace demo {

inline constexpr int32_t kFrameWidth = 800;
inline constexpr int32_t kFrameHeight = 600;
inline constexpr int32_t kPanelHeight = 64;
inline constexpr int32_t kMapHeight = kFrameHeight - kPanelHeight;
inline constexpr int32_t kTile = 32;
inline constexpr int32_t kMapColumns = kFrameWidth / kTile;
inline constexpr int32_t kMapRows = (kMapHeight + kTile - 1) / kTile;  // the last row is cut

// Special samples: transparent in every layout, the unit's shadow (index 4 darkens to half), its
// banner (index 5 takes the flag colour); in layouts 2 and 3 code 3 and code 4 darken to half,
// code 5 takes the flag colour.
inline constexpr uint8_t kClear = 0;
inline constexpr uint8_t kHalfShadow = 4;
inline constexpr uint8_t kFlag = 5;
inline constexpr uint8_t kRowShadow = 3;

struct SceneArt {
  std::vector<uint16_t> palette;           // 256 RGB565 colours
  std::vector<tools::FramePicture> tiles;  // layout 0, kMapColumns x kMapRows, row after row
  tools::FramePicture unit;                // layout 1, facing right
  tools::FramePicture selection;           // layout 1, drawn half-transparent
  tools::FramePicture tree;                // layout 2
  tools::FramePicture tree_shadow;         // layout 2, shadow codes only
  tools::FramePicture building;            // layout 3, 64 wide
  tools::FramePicture building_shadow;     // layout 3, shadow codes only
  int32_t minimap_width = 0;
  int32_t minimap_height = 0;
  std::vector<uint8_t> minimap;  // palette indices
  int32_t portrait_size = 0;
  std::vector<uint8_t> portrait;  // 3 bytes a pixel: blue, green, red
};

SceneArt MakeSceneArt();

}  // namespace demo
