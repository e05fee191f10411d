#include "end_to_end_check.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cursor_art.h"
#include "demo_scene.h"
#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_image.h"
#include "game/game_session.h"
#include "game/game_window.h"
#include "present/filter_table.h"
#include "raw_picture.h"
#include "scene_art.h"
#include "scene_transitions.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace demo {
namespace {

using namespace standin::game;

constexpr int32_t kWindowWidth = 1280;
constexpr int32_t kWindowHeight = 800;
constexpr int kReleaseSlot = 2;

int failures = 0;

void Check(bool passed, const char* what) {
  std::printf("%s: %s\n", passed ? "ok" : "FAILED", what);
  if (!passed) ++failures;
}

// The game's calls, imports and routines the play-through goes through.
bool HooksInForce() {
  const uint32_t needed[] = {
      kCreateDirectDrawSite, kAdjustExtendedSite, kAdjustSite, kCursorPositionSlot,
      kTwoArgumentSlots[0], kTwoArgumentSlots[1], kWindowProcedure, kCommandHandler,
      kAfterPlacementSite, kMessageLineSkipSite,
      // the game's drawing routines the scene and the transitions go through
      kDrawFrameShaded, kDrawFrameFlagged, kDrawFrameShadowPacked, kDrawFrameOpaque,
      kDrawFrameShadowRows, kDrawFrameHalf, kConstructBitmap, kAttachBuffer, kDrawToBuffer,
      kGrabFromBuffer, kFill, kOutline, kDarken, kDarkenThroughMask, kTintByColour, kTintByHue,
      kDrawImage24, kDrawImage8, kDrawGlyph, kFadeOut, kFadeIn, kCrossFade};
  for (uint32_t address : needed) {
    if (standin::splicer::HookAt(address) == nullptr) {
      std::printf("no hook at 0x%X\n", address);
      return false;
    }
  }
  return true;
}

// The picture rectangle as the plug-in publishes it through "QZ.ClipRect".
void SavePicture(const std::string& path, HWND window, const RECT& picture) {
  const qz::win32::ClientPixels client = qz::win32::WindowClientPixels(window);
  const uint32_t* corner =
      client.pixels + static_cast<size_t>(picture.top) * client.pitch_pixels + picture.left;
  tools::WriteRawPicture(path, corner, picture.right - picture.left, picture.bottom - picture.top,
                         client.pitch_pixels);
}

}  // namespace

int RunEndToEndCheck(const std::string& out_directory, const std::string& plugin_dll,
                     bool relocate_plugin_dll) {
  standin::host::Settings settings;
  settings.threads = 2;
  settings.filter = 12;
  settings.plugin_dll = plugin_dll;
  settings.relocate_plugin_dll = relocate_plugin_dll;
  GameSession session;
  StartGame(session, settings);
  Check(HooksInForce(), "every hook the play-through needs is in force");

  // The game's surface is 4 pixels larger each way; the margin stays black, as the preview
  // tool's frame margin is.
  const LockedSurface frame = LockSurface(session.frame_surface);
  for (int32_t y = 0; y < frame.height; ++y) {
    std::memset(frame.pixels + static_cast<size_t>(y) * frame.pitch_pixels, 0,
                static_cast<size_t>(frame.width) * 4);
  }
  const std::shared_ptr<Scene> scene = MakeScene();
  DrawScene(*scene, frame, 0);
  tools::WriteRawPicture(out_directory + "/frame.raw", frame.pixels, kFrameWidth, kFrameHeight,
                         frame.pitch_pixels);
  ResizeClient(session.window, kWindowWidth, kWindowHeight);
  const int32_t blocks_in_play = LiveHeapBlocks();

  qz::win32::SetKeyDown(VK_CONTROL, true);
  for (int32_t filter = 0; filter < qz::present::kFilterCount; ++filter) {
    SendToGameWindow(WM_KEYDOWN, 0x6B, 0);
    PresentFrame(session.primary, {0, 0, kFrameWidth - 1, kFrameHeight - 1});
    char name[32];
    std::snprintf(name, sizeof name, "/picture-%02d.raw", filter);
    SavePicture(out_directory + name, session.window, session.clip_rect);
  }
  qz::win32::SetKeyDown(VK_CONTROL, false);
  // The transitions make and release bitmaps of their own and release the previous picture.
  int32_t presents = 0;
  RunTransitions(
      frame,
      [&](const char* name, int32_t present) {
        ++presents;
        SavePicture(out_directory + "/transition-" + name + "-" + std::to_string(present) + ".raw",
                    session.window, session.clip_rect);
      },
      [&, step = 1]() mutable { DrawScene(*scene, frame, step++); });
  for (int32_t type = 0; type < kCursorArtTypes; ++type) {
    const CursorPicture cursor = ShowGameCursor(type);
    Check(cursor.valid, "the game's cursor request shows a system cursor");
    if (!cursor.valid) continue;
    tools::WriteRawPicture(out_directory + "/cursor-" + std::to_string(type) + ".raw",
                           cursor.pixels.data(), cursor.width, cursor.height, cursor.width);
  }
  Check(presents == 5 + 5 + 7, "fade-out, fade-in and cross-fade present 5, 5 and 7 times");
  Check(LiveHeapBlocks() == blocks_in_play, "the transitions give back every block they took");
  JoinGameThreads();
  const std::vector<std::string>& messages = Record().game_messages;
  Check(!messages.empty() && messages.back() == qz::present::Filter(12).name,
        "thirteen filter switches come round to filter 12 in the message line");
  Check(LiveHeapBlocks() == blocks_in_play, "playing takes nothing from the game's heap");
  CallMethod(session.direct_draw, kReleaseSlot, {});
  Check(LiveHeapBlocks() == blocks_in_play - 1,
        "releasing the display object gives its block back; the surfaces live on");
  Check(standin::host::Logged("SUCCESS: DO PARALLEL"), "the self-test passed");
  return failures == 0 ? 0 : 1;
}

}  // namespace demo
