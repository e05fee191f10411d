// Start as the host modification calls it: settings in, log lines and game patches out. Every
// test runs in a process of its own, as Start runs once per process.
#include "startup/start.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "core/settings.h"
#include "game/game_layout.h"
#include "game/host_modification.h"
#include "game/x86_code.h"
#include "parallel/worker_count.h"
#include "present/filter_selection.h"
#include "present/present_routines.h"
#include "scale/color_magnitude.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace {

using standin::Bytes;
using standin::host::Settings;

void StartWith(const Settings& settings) {
  qz::win32::ResetWorld();
  qz::startup::InitialiseProcessSettings();
  standin::host::Boot(settings);
  standin::host::CallStart();
}

TEST(Start, PublishesTrueColourAndChoosesWorkersFilterAndPicture) {
  StartWith({});
  EXPECT_TRUE(standin::host::Logged("SUCCESS: DO PARALLEL"));
  EXPECT_EQ(standin::splicer::Value("QZ.BPP"), 32);
  EXPECT_EQ(standin::splicer::Value("QZ.Rez.Scanline"), 3200);
  EXPECT_EQ(qz::parallel::WorkerCount, 2);
  EXPECT_EQ(qz::core::FilterIndex, 9);
  EXPECT_EQ(qz::present::PresentRoutine, qz::present::PresentRoutineOf(9));
  // 800 x 600 on a 1920 x 1080 screen: 1440 x 1080, centred.
  EXPECT_EQ(qz::core::dstX, 240);
  EXPECT_EQ(qz::core::dstY, 0);
  EXPECT_EQ(qz::core::dstW, 1440);
  EXPECT_EQ(qz::core::dstH, 1080);
  EXPECT_NE(qz::scale::ColorMagnitudeTable, nullptr);
  const auto& instances = standin::splicer::Instances();
  EXPECT_NE(std::find(instances.begin(), instances.end(), "QZ.PRX"), instances.end());
}

TEST(Start, WithoutThePatchingLibraryLeavesTheGameUntouched) {
  Settings settings;
  settings.splicer_present = false;
  StartWith(settings);
  EXPECT_TRUE(standin::host::LogLines().empty());
  EXPECT_EQ(*Bytes(standin::game::kShortJumps[0]), 0x74);
  EXPECT_EQ(qz::scale::ColorMagnitudeTable, nullptr);
  EXPECT_EQ(qz::core::srcW, 0);
}

TEST(Start, WithoutALogRoutineWritesNoLineAndChoosesTheSame) {
  Settings settings;
  settings.log_routine = false;
  StartWith(settings);
  EXPECT_TRUE(standin::host::LogLines().empty());
  EXPECT_EQ(qz::parallel::WorkerCount, 2);
  EXPECT_EQ(qz::core::FilterIndex, 9);
  EXPECT_EQ(qz::core::dstW, 1440);
}

TEST(Start, AFailedInstanceLogsAndWritesNoPatch) {
  qz::win32::ResetWorld();
  standin::host::Boot({});
  standin::splicer::RefuseInstance("QZ.PRX");
  standin::host::CallStart();
  EXPECT_TRUE(standin::host::Logged("ERROR: FAIL TO CREATE QZ_PRX SplicerInstance"));
  EXPECT_EQ(*Bytes(standin::game::kShortJumps[0]), 0x74);
  EXPECT_EQ(standin::splicer::Value("QZ.BPP"), 32);
}

TEST(Start, ReportsTheEmulator) {
  qz::win32::ResetWorld();
  qz::win32::SetEmulatorExports(true);
  standin::host::Boot({});
  standin::host::CallStart();
  EXPECT_TRUE(standin::host::Logged("WINE detected"));
  EXPECT_EQ(qz::win32::ModuleLoadCount("ntdll.dll"), 1);
}

}  // namespace
