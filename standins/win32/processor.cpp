// Processor count and process affinity.
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
  return TRUE;
}

}  // extern "C"
