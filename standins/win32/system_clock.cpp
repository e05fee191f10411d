// The wall clock as Windows counts it (100 ns units since 1601) and the milliseconds since boot.
#include <time.h>

#include "win32/runtime_functions.h"

namespace {

constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ull;

}  // namespace

extern "C" {

void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const uint64_t ticks = (static_cast<uint64_t>(now.tv_sec) + kSecondsFrom1601To1970) * 10000000u +
                         static_cast<uint64_t>(now.tv_nsec) / 100u;
  lpSystemTimeAsFileTime->dwLowDateTime = static_cast<DWORD>(ticks);
  lpSystemTimeAsFileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
}

ULONGLONG WINAPI GetTickCount64(void) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<ULONGLONG>(now.tv_sec) * 1000u +
         static_cast<ULONGLONG>(now.tv_nsec) / 1000000u;
}

}  // extern "C"
