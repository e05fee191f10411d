#include "demo_scene.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "demo_font.h"
#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_object_layouts.h"
#include "game/game_screen.h"
#include "scene_art.h"

namespace demo {
namespace {

using namespace standin::game;

constexpr uint32_t kFlags[] = {0xD02020, 0x2040D0, 0xE0C020};
constexpr int32_t kUnits = 12;

uint32_t Rgb565(uint32_t rgb) {
  return (rgb >> 8 & 0xF800) | (rgb >> 5 & 0x07E0) | (rgb >> 3 & 0x001F);
}

uint32_t U(int32_t value) {
  return static_cast<uint32_t>(value);
}

struct Sprite {
  tools::EncodedFrame encoded;
  std::vector<uint8_t> object;
};

Sprite MakeSprite(const tools::FramePicture& picture, uint32_t type, uint32_t seed) {
  qz::truecolour::FrameDescription cell;
  cell.type = type;
  cell.fullWidth = picture.width;
  cell.fullHeight = picture.height;
  Sprite sprite{tools::EncodeFrame(picture, cell, seed), {}};
  sprite.object = standin::game::GameFrameObject(sprite.encoded.frame);
  return sprite;
}

struct Placed {
  int32_t x;
  int32_t y;
};

constexpr Placed kTrees[] = {{40, 40},   {90, 70},   {620, 60},  {660, 110}, {700, 40},
                             {300, 420}, {350, 450}, {120, 380}, {730, 420}, {560, 200}};
constexpr Placed kBuildings[] = {{180, 150}, {600, 300}, {420, 80}};

// Half-open rectangle of the frame that a draw may touch.
struct Area {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  bool Meets(int32_t x, int32_t y, int32_t width, int32_t height) const {
    return x < right && y < bottom && x + width > left && y + height > top;
  }
};

struct Unit {
  int32_t x;
  int32_t y;
  bool facing_left;
};

Unit UnitAt(int32_t index, int32_t step) {
  const int32_t span = kFrameWidth - 120;
  const int32_t speed = (3 + index % 3) * (index % 2 == 0 ? 1 : -1);
  const int32_t x = 60 + ((index * 137 + step * speed) % span + span) % span;
  const int32_t y = 50 + (index * 89) % (kMapHeight - 120);
  return {x, y, speed < 0};
}

}  // namespace

struct Scene {
  SceneArt art = MakeSceneArt();
  std::vector<uint8_t> palette_object = standin::game::GamePaletteObject(art.palette);
  std::vector<Sprite> tiles;
  Sprite unit = MakeSprite(art.unit, 1, 11);
  Sprite selection = MakeSprite(art.selection, 1, 12);
  Sprite tree = MakeSprite(art.tree, 2, 13);
  Sprite tree_shadow = MakeSprite(art.tree_shadow, 2, 14);
  Sprite building = MakeSprite(art.building, 3, 15);
  Sprite building_shadow = MakeSprite(art.building_shadow, 3, 16);
  DemoFont font = MakeDemoFont("SMALL");
  std::vector<uint8_t> minimap_object;
  std::vector<uint8_t> portrait_object;
  std::vector<uint8_t> button_mask;
  std::vector<uint8_t> button_mask_object;
  GameBitmap* panel = nullptr;
};

namespace {

// The eleven words every sprite routine takes first: the whole cell at (x, y), drawn into the
// part of the frame that `area` covers.
std::vector<uint32_t> SpriteArguments(const Scene& scene, const Sprite& sprite,
                                      const standin::game::LockedSurface& frame, const Area& area,
                                      int32_t x, int32_t y) {
  uint32_t* corner = frame.pixels + area.top * frame.pitch_pixels + area.left;
  return {0,
          0,
          U(sprite.encoded.frame.fullWidth),
          U(sprite.encoded.frame.fullHeight),
          Word(corner),
          U(x - area.left),
          U(y - area.top),
          U(area.right - area.left),
          U(area.bottom - area.top),
          U(frame.pitch_pixels * 4),
          Word(scene.palette_object.data())};
}

void DrawSprite(const Scene& scene, uint32_t routine, const Sprite& sprite,
                const standin::game::LockedSurface& frame, const Area& area, int32_t x, int32_t y,
                std::vector<uint32_t> more) {
  if (!area.Meets(x, y, sprite.encoded.frame.fullWidth, sprite.encoded.frame.fullHeight)) return;
  std::vector<uint32_t> arguments = SpriteArguments(scene, sprite, frame, area, x, y);
  arguments.insert(arguments.end(), more.begin(), more.end());
  CallGameMethod(routine, sprite.object.data(), arguments);
}

// Everything of the map inside `area`, back to front, so any area can be drawn again on its own.
void DrawMapArea(const Scene& scene, const standin::game::LockedSurface& frame, const Area& area,
                 int32_t step) {
  for (int32_t row = area.top / kTile; row * kTile < area.bottom; ++row) {
    for (int32_t column = area.left / kTile; column * kTile < area.right; ++column) {
      DrawSprite(scene, kDrawFrameOpaque, scene.tiles[row * kMapColumns + column], frame, area,
                 column * kTile, row * kTile, {0, 0});
    }
  }
  for (const Placed& at : kBuildings) {
    DrawSprite(scene, kDrawFrameShadowPacked, scene.building_shadow, frame, area, at.x + 10, at.y,
               {0});
  }
  for (const Placed& at : kTrees) {
    DrawSprite(scene, kDrawFrameShadowRows, scene.tree_shadow, frame, area, at.x + 6, at.y + 22,
               {0, 0});
  }
  for (size_t i = 0; i < std::size(kBuildings); ++i) {
    DrawSprite(scene, kDrawFrameFlagged, scene.building, frame, area, kBuildings[i].x,
               kBuildings[i].y, {i == 1 ? 1u : 0u, Rgb565(kFlags[i])});
  }
  for (const Placed& at : kTrees) {
    DrawSprite(scene, kDrawFrameOpaque, scene.tree, frame, area, at.x, at.y, {0, 0});
  }
  const Unit selected = UnitAt(0, step);
  DrawSprite(scene, kDrawFrameHalf, scene.selection, frame, area, selected.x - 2, selected.y + 14,
             {0, 1});
  for (int32_t i = 0; i < kUnits; ++i) {
    const Unit unit = UnitAt(i, step);
    DrawSprite(scene, kDrawFrameShaded, scene.unit, frame, area, unit.x, unit.y,
               {unit.facing_left ? 1u : 0u, Rgb565(kFlags[i % 3]), 0});
  }
}

constexpr uint32_t kPanelGround = 0x3A2E22;
constexpr uint32_t kPanelGold = 0xD8C890;
constexpr Area kDayText{420, 22, 560, 36};

void PanelCall(const Scene& scene, uint32_t routine, std::vector<uint32_t> arguments) {
  CallGameMethod(routine, scene.panel, arguments);
}

// The day counter, the part of the panel that changes.
void DrawDay(const Scene& scene, int32_t step) {
  PanelCall(scene, kFill,
            {U(kDayText.left), U(kDayText.top), U(kDayText.right - kDayText.left),
             U(kDayText.bottom - kDayText.top), Rgb565(kPanelGround)});
  DrawText(scene.font, scene.panel, kDayText.left + 2, kDayText.top + 3,
           "DAY " + std::to_string(1 + step), kTextWhite);
}

void DrawPanel(Scene& scene) {
  GameBitmap* panel = scene.panel;
  PanelCall(scene, kFill, {0, 0, U(kFrameWidth), U(kPanelHeight), Rgb565(kPanelGround)});
  PanelCall(scene, kOutline, {0, 0, U(kFrameWidth), U(kPanelHeight), Rgb565(kPanelGold)});
  PanelCall(scene, kDarken, {6, 6, 108, 52});
  CallGameMethod(kDrawImage8, scene.minimap_object.data(),
                 {0, 0, U(scene.art.minimap_width), U(scene.art.minimap_height),
                  Word(panel->pixels), 10, 9, U(kFrameWidth), U(kPanelHeight), U(panel->pitch), 0});
  CallGameMethod(kDrawImage24, scene.portrait_object.data(),
                 {0, 0, U(scene.art.portrait_size), U(scene.art.portrait_size), Word(panel->pixels),
                  124, 9, U(kFrameWidth), U(kPanelHeight), U(panel->pitch)});
  PanelCall(scene, kOutline, {123, 8, 48, 48, Rgb565(kPanelGold)});
  // The player's banner: a light stripe tinted to the player's colour.
  PanelCall(scene, kFill, {180, 8, 14, 48, Rgb565(0xE0E0E0)});
  PanelCall(scene, kTintByColour, {180, 8, 14, 48, kFlags[0]});
  DrawText(scene.font, panel, 206, 10, "GOLD 1200", kTextGold);
  DrawText(scene.font, panel, 206, 25, "WOOD 850", kTextGold);
  DrawText(scene.font, panel, 206, 40, "STONE 400", kTextGold);
  // A button with a striped, darkened face.
  PanelCall(scene, kFill, {640, 10, 150, 44, Rgb565(0x807060)});
  PanelCall(scene, kDarkenThroughMask,
            {640, 10, 150, 44, Word(scene.button_mask_object.data()), 0, 0});
  PanelCall(scene, kOutline, {640, 10, 150, 44, Rgb565(kPanelGold)});
  DrawText(scene.font, panel, 690, 28, "MENU", kTextWhite);
}

// Copies the panel's rectangle `area` (panel coordinates) into the frame below the map.
RECT ShowPanel(const Scene& scene, const standin::game::LockedSurface& frame, const Area& area) {
  PanelCall(scene, kDrawToBuffer,
            {U(area.left), U(area.top), U(area.right - area.left), U(area.bottom - area.top),
             Word(frame.pixels), U(area.left), U(kMapHeight + area.top), U(kFrameWidth),
             U(kFrameHeight), U(frame.pitch_pixels * 4), 0});
  return {area.left, kMapHeight + area.top, area.right - 1, kMapHeight + area.bottom - 1};
}

Area UnitArea(const Unit& unit) {
  const Area area{unit.x - 4, unit.y, unit.x + 30, unit.y + 31};
  return {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, kFrameWidth),
          std::min(area.bottom, kMapHeight)};
}

}  // namespace

std::shared_ptr<Scene> MakeScene() {
  auto scene = std::make_shared<Scene>();
  for (size_t i = 0; i < scene->art.tiles.size(); ++i) {
    scene->tiles.push_back(MakeSprite(scene->art.tiles[i], 0, static_cast<uint32_t>(i)));
  }
  scene->minimap_object = standin::game::GameImage8Object(
      scene->art.minimap_width, scene->art.minimap.data(), scene->art.palette);
  scene->portrait_object =
      standin::game::GameImage24Object(scene->art.portrait_size, scene->art.portrait.data());
  for (int32_t y = 0; y < 44; ++y) {
    for (int32_t x = 0; x < 150; ++x) scene->button_mask.push_back((x + y) % 6 < 3 ? 1 : 0);
  }
  scene->button_mask_object = standin::game::GameMaskObject(150, scene->button_mask.data());
  scene->panel = standin::game::NewGameBitmap(kFrameWidth, kPanelHeight);
  DrawPanel(*scene);
  return scene;
}

std::vector<RECT> DrawScene(Scene& scene, const standin::game::LockedSurface& frame, int32_t step) {
  if (step == 0) {
    DrawMapArea(scene, frame, {0, 0, kFrameWidth, kMapHeight}, 0);
    DrawDay(scene, 0);
    ShowPanel(scene, frame, {0, 0, kFrameWidth, kPanelHeight});
    return {RECT{0, 0, kFrameWidth - 1, kFrameHeight - 1}};
  }
  // Where a unit was and where it is now, each area drawn again whole.
  std::vector<RECT> changed;
  for (int32_t i = 0; i < kUnits; ++i) {
    const Area before = UnitArea(UnitAt(i, step - 1));
    const Area after = UnitArea(UnitAt(i, step));
    const Area area{std::min(before.left, after.left), std::min(before.top, after.top),
                    std::max(before.right, after.right), std::max(before.bottom, after.bottom)};
    DrawMapArea(scene, frame, area, step);
    changed.push_back({area.left, area.top, area.right - 1, area.bottom - 1});
  }
  DrawDay(scene, step);
  changed.push_back(ShowPanel(scene, frame, kDayText));
  return changed;
}

}  // namespace demo
