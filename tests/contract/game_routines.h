#pragma once
// The little of the game that the cursor builder calls at the game's fixed addresses: its heap,
// the byte that gives its surfaces' bytes per pixel (4), and its sprite-frame drawing routine,
// here one that draws a TestSprite. Each build lays them out its own way.
#include <cstdint>
#include <vector>

namespace qz::contract {

// A cursor sprite with the game's size fields at +0x30 and +0x34. Its picture (0xAARRGGBB, top
// row first) is drawn as the game draws sprites: pixels of alpha 0 are left untouched, the others
// are written without their alpha.
struct TestSprite {
  uint8_t unused[0x30];
  int32_t width;
  int32_t height;
  const std::vector<uint32_t>* picture;
};

// Lays the routines out once; false when the game's addresses cannot be had in this process.
bool PlaceGameRoutines();

// The drawing routine the build places at the game's address.
void DrawTestSprite(void* sprite, int32_t width, int32_t height, uint32_t* pixels,
                    int32_t pitch_bytes);

}  // namespace qz::contract
