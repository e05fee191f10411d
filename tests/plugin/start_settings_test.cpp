// What Start makes of the host's settings, good and bad, and of a self-test that faults.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/guarded_alloc.h"
#include "core/settings.h"
#include "game/host_modification.h"
#include "parallel/band_dispatch.h"
#include "parallel/self_test.h"
#include "parallel/usable_processors.h"
#include "parallel/worker_count.h"
#include "splicer/splicer_library.h"
#include "startup/start.h"
#include "win32/win32_world.h"

namespace {

using standin::host::Settings;

void StartWith(const Settings& settings) {
  qz::win32::ResetWorld();
  qz::startup::InitialiseProcessSettings();
  standin::host::Boot(settings);
  standin::host::CallStart();
}

struct SettingsCase {
  int32_t threads, filter, width, height;
  int32_t workers, filter_index, picture_width, picture_height;
};

class BadSettings : public ::testing::TestWithParam<SettingsCase> {};

// Four processors; a 1920 x 1080 screen.
TEST_P(BadSettings, HaveADefinedResult) {
  const SettingsCase& c = GetParam();
  Settings settings;
  settings.threads = c.threads;
  settings.filter = c.filter;
  settings.frame_width = c.width;
  settings.frame_height = c.height;
  StartWith(settings);
  EXPECT_EQ(qz::parallel::WorkerCount, c.workers);
  EXPECT_EQ(qz::core::FilterIndex, c.filter_index);
  EXPECT_EQ(qz::core::dstW, c.picture_width);
  EXPECT_EQ(qz::core::dstH, c.picture_height);
  EXPECT_TRUE(standin::host::Logged("SUCCESS: DO PARALLEL"));
}

INSTANTIATE_TEST_SUITE_P(Start, BadSettings,
                         ::testing::Values(SettingsCase{-5, 2, 800, 600, 1, 2, 1440, 1080},
                                           SettingsCase{0, 2, 800, 600, 1, 2, 1440, 1080},
                                           SettingsCase{100, 2, 800, 600, 4, 2, 1440, 1080},
                                           SettingsCase{3, -3, 800, 600, 3, 0, 1440, 1080},
                                           SettingsCase{3, 99, 800, 600, 3, 12, 1440, 1080},
                                           SettingsCase{2, 9, 0, 600, 2, 9, 0, 0},
                                           SettingsCase{2, 9, 800, 0, 2, 9, 0, 0},
                                           SettingsCase{2, 9, 1920, 1080, 2, 9, 1920, 1080}));

TEST(Start, AnUnsetFilterIsNearest) {
  qz::win32::ResetWorld();
  qz::startup::InitialiseProcessSettings();
  standin::host::Boot({});
  standin::splicer::Publish("QZ.Graphics.Nx.Filter", 0);
  standin::host::CallStart();
  EXPECT_EQ(qz::core::FilterIndex, 0);
}

DWORD_PTR ProcessMask() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  GetProcessAffinityMask(GetCurrentProcess(), &process, &system);
  return process;
}

// Processors the machine lets this thread run on: the mask is applied, not only stored.
int RealProcessorCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  sched_getaffinity(0, sizeof set, &set);
  return CPU_COUNT(&set);
}

TEST(Start, OneWorkerKeepsTheGameOnTheFirstProcessorForGood) {
  Settings settings;
  settings.threads = 1;
  settings.filter = 9;
  StartWith(settings);
  EXPECT_EQ(ProcessMask(), 1u);
  EXPECT_EQ(RealProcessorCount(), 1);
  EXPECT_EQ(qz::core::SavedAffinityMask, 1u);
}

TEST(Start, SingleStageFiltersUseTheFirstProcessorAndKeepTheSavedMask) {
  Settings settings;
  settings.threads = 2;
  settings.filter = 2;
  StartWith(settings);
  EXPECT_EQ(ProcessMask(), 1u);
  EXPECT_EQ(RealProcessorCount(), 1);
  EXPECT_EQ(qz::core::SavedAffinityMask, 0xFu);
}

TEST(Start, DoublingFiltersLeaveTheAffinityAlone) {
  StartWith({});
  EXPECT_EQ(ProcessMask(), 0xFu);
}

// Takes every free stretch of the address space long enough for the colour table, leaving holes of
// 16 MiB for everything else start-up needs (thread stacks included); gives them back when done.
class AddressSpaceWithoutRoomForTheTable {
 public:
  AddressSpaceWithoutRoomForTheTable() {
    for (;;) {
      void* block =
          mmap(nullptr, kBlock, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
      if (block == MAP_FAILED) break;
      blocks_.push_back(block);
    }
    // Every other block of the first sixteen: no two holes meet, so none reaches 66 MiB.
    for (size_t i = 0; i < blocks_.size() && i < 16; i += 2) {
      munmap(blocks_[i], kBlock);
      blocks_[i] = nullptr;
    }
  }
  ~AddressSpaceWithoutRoomForTheTable() {
    for (void* block : blocks_) {
      if (block != nullptr) munmap(block, kBlock);
    }
  }

 private:
  static constexpr size_t kBlock = size_t{16} << 20;
  std::vector<void*> blocks_;
};

// The fallback for the 2x filters is single-stage, so the game goes to the first processor.
TEST(Start, WithoutTheColourTableTheFallbackFilterTakesTheFirstProcessor) {
  Settings settings;
  settings.threads = 2;
  settings.filter = 9;
  qz::win32::ResetWorld();
  qz::startup::InitialiseProcessSettings();
  standin::host::Boot(settings);
  {
    AddressSpaceWithoutRoomForTheTable crowded;
    standin::host::CallStart();
  }
  EXPECT_TRUE(standin::host::Logged("ERROR: NO MEMORY FOR THE COLOUR TABLE, 2X FILTERS OFF"));
  EXPECT_TRUE(standin::host::Logged("SUCCESS: DO PARALLEL"));
  EXPECT_EQ(qz::core::FilterIndex, 3);
  EXPECT_EQ(ProcessMask(), 1u);
  EXPECT_EQ(qz::core::SavedAffinityMask, 0xFu);
}

TEST(ProcessSettings, TheWorkerBoundFollowsTheProcessorCount) {
  for (DWORD processors : {1u, 2u, 8u, 16u, 64u}) {
    qz::win32::SetProcessorCount(processors);
    qz::startup::InitialiseProcessSettings();
    EXPECT_EQ(qz::parallel::MaxWorkerCount, processors > 8 ? 8 : static_cast<int32_t>(processors));
    EXPECT_EQ(qz::parallel::WorkerCount, qz::parallel::MaxWorkerCount);
  }
}

// A band that faults on the given row: row 0 is a worker's band (the calling thread takes it only
// when no worker has), rows 1 to 3 are the calling thread's.
enum class Fault { kAccessViolation, kException };
struct FaultCase {
  Fault fault;
  int32_t row;
};

void FaultingBand(const void* context, int32_t, int32_t, int32_t top, int32_t bottom) {
  const auto& fault = *static_cast<const FaultCase*>(context);
  if (fault.row < top || fault.row > bottom) return;
  if (fault.fault == Fault::kException) throw std::runtime_error("band failed");
  volatile uintptr_t nowhere = 16;
  *reinterpret_cast<volatile uint32_t*>(nowhere) = 1;
}

class SelfTestFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SelfTestFault, FallsBackToOneWorkerAndTheGameGoesOn) {
  qz::win32::ResetWorld();
  standin::host::Boot({});
  standin::host::CallStart();
  ASSERT_EQ(qz::parallel::WorkerCount, 2);
  const FaultCase fault = GetParam();
  EXPECT_FALSE(qz::parallel::ProveParallelism(FaultingBand, const_cast<FaultCase*>(&fault)));
  EXPECT_TRUE(standin::host::Logged("ERROR: CANN'T DO PARALLEL"));
  EXPECT_EQ(qz::parallel::WorkerCount, 1);
  // The pool and the process are still fine.
  uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_TRUE(qz::parallel::ProveParallelism(qz::parallel::StoreSelfTestValues, bytes));
  EXPECT_EQ(std::memcmp(bytes, "\x0A\x14\x1E\x28", 4), 0);
}

INSTANTIATE_TEST_SUITE_P(OnAWorkerOrTheCallingThread, SelfTestFault,
                         ::testing::Values(FaultCase{Fault::kAccessViolation, 0},
                                           FaultCase{Fault::kAccessViolation, 2},
                                           FaultCase{Fault::kException, 0},
                                           FaultCase{Fault::kException, 3}));

// No thread can be made while every new thread asks for a stack larger than the address space.
TEST(SelfTest, AWorkerThatCannotBeMadeFallsBackToOneWorkerAndTheGameGoesOn) {
  if (qz::parallel::UsableProcessors() < 2) GTEST_SKIP() << "one processor: no worker is made";
  pthread_attr_t usual;
  ASSERT_EQ(pthread_getattr_default_np(&usual), 0);
  pthread_attr_t unmakeable;
  pthread_attr_init(&unmakeable);
  pthread_attr_setstacksize(&unmakeable, size_t{0xF0000000u});
  ASSERT_EQ(pthread_setattr_default_np(&unmakeable), 0);
  Settings settings;
  settings.threads = 2;
  settings.filter = 9;
  StartWith(settings);
  pthread_setattr_default_np(&usual);
  EXPECT_TRUE(standin::host::Logged("ERROR: CANN'T DO PARALLEL"));
  EXPECT_FALSE(standin::host::Logged("SUCCESS: DO PARALLEL"));
  EXPECT_EQ(qz::parallel::WorkerCount, 1);
  // Start-up went on to its end, and the pool works once threads can be made.
  EXPECT_EQ(qz::core::FilterIndex, 9);
  EXPECT_EQ(qz::core::SavedAffinityMask, 1u);
  uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_TRUE(qz::parallel::ProveParallelism(qz::parallel::StoreSelfTestValues, bytes));
  EXPECT_EQ(std::memcmp(bytes, "\x0A\x14\x1E\x28", 4), 0);
}

TEST(GuardedAlloc, BlocksCarryTheHeaderWordAndForeignBlocksAreLeftAlone) {
  qz::win32::ResetWorld();
  standin::host::Boot({});
  standin::host::CallStart();
  auto* block = static_cast<uint32_t*>(qz::core::GuardedAlloc(16));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[-1], qz::core::kGuardWord);
  qz::core::GuardedFree(block);
  qz::core::GuardedFree(nullptr);
  uint32_t foreign[4] = {0, 0, 0, 0};
  qz::core::GuardedFree(&foreign[1]);
  EXPECT_TRUE(standin::host::Logged("ERROR: QZ_FREE OF A BLOCK WITHOUT ITS HEADER, LEFT ALONE"));
  EXPECT_TRUE(qz::win32::MessageBoxes().empty());
}

__attribute__((noinline)) void* AskForTooMuch() {
  void* block = qz::core::GuardedAlloc(0xFFFFFFF0u);
  asm volatile("");  // keeps the call from becoming a jump
  return block;
}

TEST(GuardedAlloc, AnImpossibleSizeTellsThePlayerWhereItWasAskedFor) {
  qz::win32::ResetWorld();
  EXPECT_EQ(AskForTooMuch(), nullptr);
  const auto boxes = qz::win32::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].type & MB_ICONERROR, UINT{MB_ICONERROR});
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].text.rfind("CANN'T QZ_ALLOC from ", 0), 0u);
  // The address lies in the requesting routine.
  const uintptr_t caller = std::stoul(boxes[0].text.substr(21), nullptr, 16);
  const auto routine = reinterpret_cast<uintptr_t>(&AskForTooMuch);
  EXPECT_GT(caller, routine);
  EXPECT_LT(caller, routine + 64);
}

}  // namespace
