// KERNEL32 as the plug-in meets it: modules found by the loader's rules, processor count and
// affinity, critical sections, per-thread last error and message boxes.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "win32/win32_world.h"

namespace qz::win32 {
namespace {

class Win32Kernel : public ::testing::Test {
 protected:
  void SetUp() override { ResetWorld(); }
  void TearDown() override { ResetWorld(); }
};

typedef void(WINAPI* VersionNumbers)(DWORD*, DWORD*, DWORD*);

int WINAPI AnswerFortyTwo() {
  return 42;
}

template <typename Function>
Function FunctionFrom(FARPROC address) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

TEST_F(Win32Kernel, NtdllIsAlwaysLoadedAndReportsItsVersion) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  ASSERT_NE(ntdll, nullptr);
  EXPECT_EQ(GetModuleHandleA("NTDLL"), ntdll);
  auto version = FunctionFrom<VersionNumbers>(GetProcAddress(ntdll, "RtlGetNtVersionNumbers"));
  ASSERT_NE(version, nullptr);
  DWORD major = 0, minor = 0, build = 0;
  version(&major, &minor, &build);
  EXPECT_EQ(major, 10u);
  EXPECT_EQ(minor, 0u);
  EXPECT_EQ(build & 0xFFFF, 19045u);
  SetNtVersion(5, 1, 2600);
  version(&major, &minor, &build);
  EXPECT_EQ(major, 5u);
  EXPECT_EQ(build & 0xFFFF, 2600u);
  // Released as often as loaded, it stays in the process.
  ASSERT_EQ(LoadLibraryA("ntdll.dll"), ntdll);
  EXPECT_TRUE(FreeLibrary(ntdll));
  EXPECT_TRUE(FreeLibrary(ntdll));
  EXPECT_EQ(GetModuleHandleA("ntdll.dll"), ntdll);
}

TEST_F(Win32Kernel, EmulatorExportAppearsOnlyWhenAsked) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  EXPECT_EQ(GetProcAddress(ntdll, "wine_get_version"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  SetEmulatorExports(true);
  EXPECT_NE(GetProcAddress(ntdll, "wine_get_version"), nullptr);
  SetEmulatorExports(false);
  EXPECT_EQ(GetProcAddress(ntdll, "wine_get_version"), nullptr);
}

TEST_F(Win32Kernel, RegisteredModuleLoadsByNameAndUnloadsWithItsLastReference) {
  RegisterModule("Splicer_X86.dll", {{"_GetSplicerX86@0", AsExport(&AnswerFortyTwo)}}, false);
  EXPECT_EQ(GetModuleHandleA("splicer_x86.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  HMODULE first = LoadLibraryA("C:\\Game\\SPLICER_X86");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LoadLibraryA("splicer_x86.dll"), first);
  EXPECT_EQ(GetModuleHandleA("splicer_x86"), first);
  EXPECT_EQ(ModuleLoadCount("splicer_x86.dll"), 2);
  auto getter = FunctionFrom<int(WINAPI*)()>(GetProcAddress(first, "_GetSplicerX86@0"));
  ASSERT_NE(getter, nullptr);
  EXPECT_EQ(getter(), 42);
  EXPECT_EQ(GetProcAddress(first, "_GetSplicerX86Version@0"), nullptr);
  EXPECT_EQ(GetProcAddress(first, reinterpret_cast<LPCSTR>(1)), nullptr);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(GetModuleHandleA("splicer_x86.dll"), nullptr);
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_EQ(GetProcAddress(first, "_GetSplicerX86@0"), nullptr);
  // A name with a dot but another extension is a different file.
  EXPECT_EQ(LoadLibraryA("splicer_x86.exe"), nullptr);
  UnregisterModule("splicer_x86.dll");
  EXPECT_EQ(LoadLibraryA("splicer_x86.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(Win32Kernel, HostLoadedModuleIsFoundWithoutLoading) {
  RegisterModule("cursors.dll", {}, true);
  EXPECT_NE(GetModuleHandleA("Cursors.DLL"), nullptr);
  EXPECT_EQ(ModuleLoadCount("cursors"), 1);
}

TEST_F(Win32Kernel, ProcessorCountAndAffinityMasks) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_EQ(info.dwNumberOfProcessors, kDefaultProcessorCount);
  DWORD_PTR process = 0, system = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process, &system));
  EXPECT_EQ(process, 0xFu);
  EXPECT_EQ(system, 0xFu);

  EXPECT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), 1));
  GetProcessAffinityMask(GetCurrentProcess(), &process, &system);
  EXPECT_EQ(process, 1u);
  EXPECT_EQ(system, 0xFu);

  struct Rejected {
    HANDLE process;
    DWORD_PTR mask;
    DWORD error;
  };
  for (const Rejected& r : {Rejected{GetCurrentProcess(), 0, ERROR_INVALID_PARAMETER},
                            Rejected{GetCurrentProcess(), 0x10, ERROR_INVALID_PARAMETER},
                            Rejected{GetCurrentProcess(), 0x1F, ERROR_INVALID_PARAMETER},
                            Rejected{reinterpret_cast<HANDLE>(0x44), 1, ERROR_INVALID_HANDLE}}) {
    SetLastError(0);
    EXPECT_FALSE(SetProcessAffinityMask(r.process, r.mask)) << r.mask;
    EXPECT_EQ(GetLastError(), r.error) << r.mask;
  }
  GetProcessAffinityMask(GetCurrentProcess(), &process, &system);
  EXPECT_EQ(process, 1u);

  SetProcessorCount(16);
  GetSystemInfo(&info);
  EXPECT_EQ(info.dwNumberOfProcessors, 16u);
  GetProcessAffinityMask(GetCurrentProcess(), &process, &system);
  EXPECT_EQ(process, 0xFFFFu);
  EXPECT_EQ(system, 0xFFFFu);
}

// Four threads add under a critical section that each enters twice; with real exclusion not
// one increment is lost.
TEST_F(Win32Kernel, CriticalSectionIsRecursiveAndExclusive) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_EQ(section.RecursionCount, 2);
  LeaveCriticalSection(&section);
  LeaveCriticalSection(&section);
  EXPECT_EQ(section.RecursionCount, 0);

  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  int total = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        EnterCriticalSection(&section);
        EnterCriticalSection(&section);
        const int seen = total;
        std::this_thread::yield();
        total = seen + 1;
        LeaveCriticalSection(&section);
        LeaveCriticalSection(&section);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(total, kThreads * kRounds);
  DeleteCriticalSection(&section);
}

TEST_F(Win32Kernel, LastErrorBelongsToEachThread) {
  SetLastError(ERROR_INVALID_HANDLE);
  DWORD other = 1;
  std::thread thread([&] { other = GetLastError(); });
  thread.join();
  EXPECT_EQ(other, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Win32Kernel, SleepCountsRequestedTimeWhateverTheScale) {
  SetSleepScale(0);
  Sleep(1500);
  Sleep(0);
  Sleep(20);
  EXPECT_EQ(RequestedSleepMilliseconds(), 1520u);
}

TEST_F(Win32Kernel, MessageBoxesAreRecordedAndNeedAValidOwner) {
  EXPECT_EQ(MessageBoxA(nullptr, "CANN'T QZ_ALLOC from 401000", "Error", MB_ICONERROR), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "no caption", nullptr, MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x1234), "lost", "", MB_OK), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  const std::vector<MessageBoxRecord> boxes = MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].text, "CANN'T QZ_ALLOC from 401000");
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(boxes[1].caption, "Error");
}

}  // namespace
}  // namespace qz::win32
