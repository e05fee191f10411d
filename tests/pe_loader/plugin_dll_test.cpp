// QZ_PRX.dll itself, as players get it, loaded by the PE loader and started by the host against
// the stand-ins. What is checked is what the plug-in publishes and changes in the game.
#include <gtest/gtest.h>

#include "game/game_session.h"
#include "game/host_modification.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace {

using namespace standin::game;

// What Start writes and hooks with these settings, as the 32-bit Linux build does.
constexpr size_t kPatchWrites = 128;
constexpr size_t kHooks = 47;

class PluginDll : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    standin::host::Settings settings;
    settings.threads = 2;
    settings.filter = 12;
    settings.plugin_dll = QZ_PLUGIN_DLL;
    settings.relocate_plugin_dll = GetParam();
    StartGame(session_, settings);
  }
  GameSession session_;
};

TEST_P(PluginDll, StartsAsTheLinuxBuildDoes) {
  EXPECT_TRUE(standin::host::Logged("SUCCESS: DO PARALLEL"));
  EXPECT_EQ(standin::splicer::Writes().size(), kPatchWrites);
  EXPECT_EQ(standin::splicer::Hooks().size(), kHooks);
  EXPECT_NE(GetModuleHandleA("QZ_PRX.dll"), nullptr);
}

TEST_P(PluginDll, ShowsAPresentedFrameInThePictureRectangle) {
  ResizeClient(session_.window, 1280, 800);
  DrawTestFrame(session_.frame_surface, 7);
  PresentFrame(session_.primary, RECT{0, 0, 799, 599});
  const RECT picture = session_.clip_rect;
  ASSERT_GT(picture.right - picture.left, 0);
  const Screenshot shot = TakeScreenshot(session_.window);
  int32_t painted = 0;
  for (int32_t y = picture.top; y < picture.bottom; y += 7) {
    for (int32_t x = picture.left; x < picture.right; x += 7) {
      painted += shot.At(x, y) != qz::win32::kUnpaintedClientColour ? 1 : 0;
    }
  }
  EXPECT_GT(painted, 0);
}

INSTANTIATE_TEST_SUITE_P(Placements, PluginDll, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& relocated) {
                           return relocated.param ? "Relocated" : "PreferredBase";
                         });

}  // namespace
