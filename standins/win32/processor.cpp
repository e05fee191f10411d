// Processor count and process affinity.
#include <dirent.h>
#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "win32/world_state.h"

namespace qz::win32 {

DWORD_PTR SystemAffinityMask(const World& world) {
  const DWORD usable = world.processor_count < 32 ? world.processor_count : 32;
  return usable == 32 ? ~DWORD_PTR{0} : (DWORD_PTR{1} << usable) - 1;
}

}  // namespace qz::win32

using namespace qz::win32;

namespace {

// The only process handle in this world is the pseudo handle of the process itself.
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(-1);

// The machine's processors this process may use, as they were before any mask was applied.
const std::vector<int>& RealProcessors() {
  static const std::vector<int> processors = [] {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> list;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
      for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &set)) list.push_back(cpu);
      }
    }
    return list;
  }();
  return processors;
}

// Windows confines every thread of the process at once, those already running included: each
// processor of the mask is a real one (taken round-robin when this world has more), set on
// every thread of the process.
void ConfineThreads(DWORD_PTR mask) {
  const std::vector<int>& real = RealProcessors();
  if (real.empty()) return;
  cpu_set_t set;
  CPU_ZERO(&set);
  for (size_t bit = 0; bit < 8 * sizeof mask; ++bit) {
    if ((mask >> bit & 1) != 0) CPU_SET(real[bit % real.size()], &set);
  }
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return;
  while (const dirent* task = readdir(tasks)) {
    const int thread = std::atoi(task->d_name);
    if (thread > 0) sched_setaffinity(thread, sizeof set, &set);
  }
  closedir(tasks);
}

}  // namespace

extern "C" {

void WINAPI GetSystemInfo(LPSYSTEM_INFO lpSystemInfo) {
  auto lock = LockWorld();
  const World& world = TheWorld();
  *lpSystemInfo = SYSTEM_INFO{};
  lpSystemInfo->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
  lpSystemInfo->dwPageSize = 4096;
  lpSystemInfo->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x00010000);
  lpSystemInfo->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFEFFFF);
  lpSystemInfo->dwActiveProcessorMask = SystemAffinityMask(world);
  lpSystemInfo->dwNumberOfProcessors = world.processor_count;
  lpSystemInfo->dwProcessorType = PROCESSOR_INTEL_PENTIUM;
  lpSystemInfo->dwAllocationGranularity = 65536;
  lpSystemInfo->wProcessorLevel = 6;
}

HANDLE WINAPI GetCurrentProcess(void) {
  return kCurrentProcess;
}

BOOL WINAPI GetProcessAffinityMask(HANDLE hProcess, PDWORD_PTR lpProcessAffinityMask,
                                   PDWORD_PTR lpSystemAffinityMask) {
  if (hProcess != kCurrentProcess) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (lpProcessAffinityMask == nullptr || lpSystemAffinityMask == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto lock = LockWorld();
  *lpProcessAffinityMask = TheWorld().affinity_mask;
  *lpSystemAffinityMask = SystemAffinityMask(TheWorld());
  return TRUE;
}

BOOL WINAPI SetProcessAffinityMask(HANDLE hProcess, DWORD_PTR dwProcessAffinityMask) {
  if (hProcess != kCurrentProcess) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  auto lock = LockWorld();
  World& world = TheWorld();
  if (dwProcessAffinityMask == 0 || (dwProcessAffinityMask & ~SystemAffinityMask(world)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  world.affinity_mask = dwProcessAffinityMask;
  ConfineThreads(dwProcessAffinityMask);
  return TRUE;
}

// The processor of the process's mask that stands for the real one the thread runs on (the
// lowest, when the round-robin gave it several); outside the mask, its place among the real ones.
DWORD WINAPI GetCurrentProcessorNumber(void) {
  const std::vector<int>& real = RealProcessors();
  const auto found = std::find(real.begin(), real.end(), sched_getcpu());
  if (found == real.end()) return 0;
  const auto place = static_cast<size_t>(found - real.begin());
  auto lock = LockWorld();
  const DWORD_PTR mask = TheWorld().affinity_mask;
  for (size_t bit = 0; bit < 8 * sizeof mask; ++bit) {
    if ((mask >> bit & 1) != 0 && bit % real.size() == place) return static_cast<DWORD>(bit);
  }
  return static_cast<DWORD>(place);
}

}  // extern "C"
