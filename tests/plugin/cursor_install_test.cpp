// Installing the system cursors: what is patched and hooked, the cursor library found through
// the host's common directory, and the starts that install nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/splicer.h"
#include "cursor/install_sys_cursors.h"
#include "cursor_session.h"
#include "game/cursor_library.h"
#include "game/game_image.h"
#include "game/game_mouse.h"
#include "game/game_window.h"
#include "game/x86_code.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace qz::testing {
namespace {

using standin::splicer::HookAt;

constexpr uint32_t kCursorRoutines[] = {
    standin::game::kSetCursor, standin::game::kSetCursorFrame, standin::game::kIfDefaultRoutine,
    standin::game::kMarkRoutine, standin::game::kUnderDefaultRoutine};

std::string CurrentDirectory() {
  char path[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, path);
  return path;
}

TEST(CursorInstall, TakesOutTheGamesOwnCursorCodeAndLoadsTheLibraryFromTheCommonDirectory) {
  CursorGameSettings settings;
  settings.host.exe_version = 1;
  StartCursorGame(settings);
  EXPECT_EQ(standin::splicer::Value("QZ.SysCursors.Ver"), 32);
  for (uint32_t site : standin::game::kCursorCodeSites) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(standin::Bytes(site)), 3), "\x90\x90\x90");
  }
  EXPECT_EQ(win32::ModuleLoadCount("cursors.dll"), 1);
  EXPECT_EQ(CurrentDirectory(), win32::kDefaultCurrentDirectory);
}

// The game's own cursor code as the game has it: call [eax+8].
void ExpectTheGamesCursorCode() {
  for (uint32_t site : standin::game::kCursorCodeSites) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(standin::Bytes(site)), 3), "\xFF\x50\x08");
  }
}

struct MissingPart {
  const char* name;
  bool library_in_common_directory;
  std::vector<uint16_t> left_out;
  const char* log_line;
};

class CursorInstallWithout : public ::testing::TestWithParam<MissingPart> {};

// The game keeps drawing its own cursor: nothing of it is taken out or replaced.
TEST_P(CursorInstallWithout, LogsAndLeavesTheGameItsOwnCursor) {
  CursorGameSettings settings;
  settings.cursor_library = GetParam().library_in_common_directory;
  settings.left_out = GetParam().left_out;
  win32::ResetWorld();
  // On disk, but the host does not say where.
  win32::RegisterLibraryFile("C:\\Game\\QZ", "cursors.dll", {});
  StartCursorGame(settings);
  EXPECT_TRUE(standin::host::Logged(GetParam().log_line));
  ExpectTheGamesCursorCode();
  for (uint32_t routine : kCursorRoutines) EXPECT_EQ(HookAt(routine), nullptr);
  standin::game::RequestCursor(1, 1);
  EXPECT_EQ(standin::game::Mouse().set_cursor_calls.size(), 1u);
  EXPECT_EQ(GetCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    CursorInstall, CursorInstallWithout,
    ::testing::Values(MissingPart{"LibraryOutsideTheCommonDirectory",
                                  false,
                                  {},
                                  "ERROR: CANN'T LOAD cursors.dll, NO SYS CURSORS"},
                      MissingPart{"DefaultCursor",
                                  true,
                                  {500},
                                  "ERROR: NO DEFAULT CURSOR IN cursors.dll, NO SYS CURSORS"}),
    [](const ::testing::TestParamInfo<MissingPart>& param_info) {
      return std::string(param_info.param.name);
    });

TEST(CursorInstall, AColourDepthBelow32ShowsTheMessageAndInstallsNothing) {
  win32::ResetWorld();
  standin::host::Boot({});
  standin::host::InstallCursorLibrary();
  ASSERT_NE(core::ObtainSplicer(), nullptr);
  core::SplicerInstance* instance = core::CreateInstance("QZ.PRX");
  standin::splicer::Publish("QZ.BPP", 16);
  cursor::InstallSysCursors(instance);
  const auto boxes = win32::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Cann't starting RedUrivodu32 with QZ.BPP less than 32!");
  EXPECT_EQ(boxes[0].caption, "");
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].type, UINT{MB_OK});
  EXPECT_EQ(standin::splicer::Value("QZ.SysCursors.Ver"), 32);
  EXPECT_TRUE(standin::splicer::Hooks().empty());
  EXPECT_TRUE(standin::splicer::Writes().empty());
  EXPECT_EQ(win32::ModuleLoadCount("cursors.dll"), 0);
  EXPECT_EQ(standin::game::LiveHeapBlocks(), 0);
}

}  // namespace
}  // namespace qz::testing
