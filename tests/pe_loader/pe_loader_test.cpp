#include "pe_loader/pe_loader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "test_dll/loader_test_dll.h"

namespace {

using standin::pe::LoadDll;
using standin::pe::Placement;

constexpr DWORD kProcessAttach = 1;
constexpr DWORD kThreadAttach = 2;
constexpr DWORD kThreadDetach = 3;

std::string TestDll(const char* name) {
  return std::string(TEST_DLL_DIRECTORY "/") + name;
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  EXPECT_NE(address, nullptr) << name;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

std::vector<LoaderEvent> Events(HMODULE module) {
  std::vector<LoaderEvent> events(256);
  const int32_t count = Export<CopyEventsFunction>(module, "CopyEvents")(
      events.data(), static_cast<int32_t>(events.size()));
  events.resize(static_cast<size_t>(count));
  return events;
}

class LoadedTestDll : public testing::TestWithParam<Placement> {
 protected:
  void SetUp() override {
    const standin::pe::LoadResult loaded = LoadDll(TestDll("loader_test_dll.dll"), GetParam());
    ASSERT_NE(loaded.module, nullptr) << loaded.error;
    module_ = loaded.module;
  }
  HMODULE module_ = nullptr;
};

TEST_P(LoadedTestDll, SitsWhereAskedAndIsFoundLikeAnyModule) {
  const uintptr_t preferred = standin::pe::PreferredBase(module_);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(module_) == preferred,
            GetParam() == Placement::kPreferredBase);
  EXPECT_EQ(GetModuleHandleA("LOADER_TEST_DLL"), module_);
  EXPECT_EQ(LoadLibraryA("loader_test_dll.dll"), module_);
  EXPECT_EQ(GetProcAddress(module_, "NoSuchExport"), nullptr);
  // A pointer in the DLL's data still reaches its target wherever the image went.
  EXPECT_EQ(Export<ReadThroughPointerFunction>(module_, "ReadThroughPointer")(), 4711);
}

TEST_P(LoadedTestDll, ProcessAttachGoesToTlsCallbacksThenToTheEntryPoint) {
  const std::vector<LoaderEvent> events = Events(module_);
  std::vector<std::pair<int32_t, uint32_t>> seen;
  for (const LoaderEvent& event : events) seen.emplace_back(event.source, event.reason);
  // The runtime's own callbacks come first; ours and the entry point follow, on this thread.
  const std::vector<std::pair<int32_t, uint32_t>> expected = {{kFromTlsCallback, kProcessAttach},
                                                              {kFromEntryPoint, kProcessAttach}};
  EXPECT_EQ(seen, expected);
  for (const LoaderEvent& event : events) EXPECT_EQ(event.thread_id, GetCurrentThreadId());
}

TEST_P(LoadedTestDll, EveryThreadAttachesBeforeItRunsAndDetachesAfter) {
  ASSERT_EQ(Export<ThreadLocalRoundFunction>(module_, "ThreadLocalRound")(4, 200), 1)
      << "a thread saw another thread's thread-local values";
  std::map<uint32_t, std::vector<std::pair<int32_t, uint32_t>>> by_thread;
  for (const LoaderEvent& event : Events(module_)) {
    if (event.thread_id != GetCurrentThreadId()) {
      by_thread[event.thread_id].emplace_back(event.source, event.reason);
    }
  }
  EXPECT_EQ(by_thread.size(), 4u);
  const std::vector<std::pair<int32_t, uint32_t>> lifetime = {{kFromTlsCallback, kThreadAttach},
                                                              {kFromEntryPoint, kThreadAttach},
                                                              {kFromTlsCallback, kThreadDetach},
                                                              {kFromEntryPoint, kThreadDetach}};
  for (const auto& [thread, seen] : by_thread) EXPECT_EQ(seen, lifetime) << "thread " << thread;
}

TEST_P(LoadedTestDll, CxxExceptionsUnwindThroughTheDllsOwnFrames) {
  const auto throw_across = Export<ThrowAcrossFramesFunction>(module_, "ThrowAcrossFrames");
  for (int32_t value : {0, 7, -123456}) EXPECT_EQ(throw_across(value), value);
}

TEST_P(LoadedTestDll, AVectoredHandlerResumesAWorkerAfterAnAccessViolation) {
  EXPECT_EQ(Export<FaultOnWorkerFunction>(module_, "FaultOnWorker")(), 1);
  // And the DLL still works on this thread afterwards.
  EXPECT_EQ(Export<ThrowAcrossFramesFunction>(module_, "ThrowAcrossFrames")(5), 5);
}

INSTANTIATE_TEST_SUITE_P(Placements, LoadedTestDll,
                         testing::Values(Placement::kPreferredBase, Placement::kElsewhere),
                         [](const testing::TestParamInfo<Placement>& placement) {
                           return placement.param == Placement::kPreferredBase ? "PreferredBase"
                                                                               : "Relocated";
                         });

void ReportDetach(int32_t ending) {
  std::fprintf(stderr, "process detach%s\n", ending != 0 ? ", the process ends" : "");
}

// At exit the DLL hears DLL_PROCESS_DETACH, with the reserved argument that says the process
// ends (as after ExitProcess), so its runtime can run its destructors.
TEST(PeLoaderDeathTest, ProcessExitDetachesTheDll) {
  EXPECT_EXIT(
      {
        const standin::pe::LoadResult loaded =
            LoadDll(TestDll("loader_test_dll.dll"), Placement::kPreferredBase);
        if (loaded.module == nullptr) std::_Exit(2);
        Export<WatchProcessDetachFunction>(loaded.module, "WatchProcessDetach")(&ReportDetach);
        std::exit(0);
      },
      testing::ExitedWithCode(0), "process detach, the process ends");
}

TEST(PeLoader, RefusesADllWithImportsItLacksNamingEveryOne) {
  const standin::pe::LoadResult loaded =
      LoadDll(TestDll("missing_import_dll.dll"), Placement::kPreferredBase);
  EXPECT_EQ(loaded.module, nullptr);
  EXPECT_NE(loaded.error.find("KERNEL32.dll!GetTickCount"), std::string::npos) << loaded.error;
  EXPECT_NE(loaded.error.find("USER32.dll!MessageBeep"), std::string::npos) << loaded.error;
  EXPECT_EQ(GetModuleHandleA("missing_import_dll.dll"), nullptr);
}

TEST(PeLoader, RefusesWhatIsNoDll) {
  EXPECT_NE(LoadDll(TestDll("no_such.dll"), Placement::kPreferredBase).error, "");
  const standin::pe::LoadResult executable = LoadDll("/proc/self/exe", Placement::kPreferredBase);
  EXPECT_EQ(executable.module, nullptr);
  EXPECT_EQ(executable.error, "not a PE file");
}

}  // namespace
