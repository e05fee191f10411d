#include "core/guarded_alloc.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/log.h"

namespace qz::core {

void ShowError(const char* format, uint32_t value) {
  char text[512];
  std::snprintf(text, sizeof text, format, value);
  MessageBoxA(nullptr, text, "Error", MB_ICONERROR);
}

// Not inlined, so the return address is the requesting code's.
__attribute__((noinline)) void* GuardedAlloc(uint32_t size) {
  const uint32_t total = size > UINT32_MAX - 4 ? UINT32_MAX : size + 4;
  auto* block = static_cast<uint32_t*>(std::malloc(total));
  if (block == nullptr) {
    ShowError("CANN'T QZ_ALLOC from %X",
              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(__builtin_return_address(0))));
    return nullptr;
  }
  block[0] = kGuardWord;
  return block + 1;
}

void GuardedFree(void* block) {
  if (block == nullptr) return;
  uint32_t* header = static_cast<uint32_t*>(block) - 1;
  if (*header != kGuardWord) {
    LogLine("ERROR: QZ_FREE OF A BLOCK WITHOUT ITS HEADER, LEFT ALONE");
    return;
  }
  std::free(header);
}

}  // namespace qz::core
