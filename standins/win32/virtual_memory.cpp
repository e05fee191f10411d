// Virtual memory: reservations, committed pages and their protections, in 64 KiB-aligned
// allocations of host pages, and the mapped images that VirtualQuery and VirtualProtect must
// also know. Memory the stand-in did not hand out (the host's heap and stacks) is not tracked.
#include <sys/mman.h>

#include <map>
#include <mutex>
#include <vector>

#include "win32/runtime_functions.h"
#include "win32/world_state.h"

namespace {

constexpr uintptr_t kPage = 4096;
constexpr uintptr_t kGranularity = 65536;

struct Allocation {
  size_t bytes = 0;
  bool image = false;
  DWORD allocation_protect = 0;
  std::vector<DWORD> page_protect;  // 0 for a page that is reserved only
};

std::mutex memory_mutex;
std::map<uintptr_t, Allocation> allocations;  // by base

uintptr_t RoundUp(uintptr_t value, uintptr_t step) {
  return (value + step - 1) / step * step;
}

int HostProtection(DWORD protect) {
  switch (protect) {
    case PAGE_READONLY:
      return PROT_READ;
    case PAGE_READWRITE:
    case PAGE_WRITECOPY:
      return PROT_READ | PROT_WRITE;
    case PAGE_EXECUTE:
    case PAGE_EXECUTE_READ:
      return PROT_READ | PROT_EXEC;
    case PAGE_EXECUTE_READWRITE:
    case PAGE_EXECUTE_WRITECOPY:
      return PROT_READ | PROT_WRITE | PROT_EXEC;
    default:
      return PROT_NONE;
  }
}

bool IsProtection(DWORD protect) {
  return protect == PAGE_NOACCESS || HostProtection(protect) != PROT_NONE;
}

// The allocation holding [address, address + bytes), or null. Call with the lock held.
std::pair<const uintptr_t, Allocation>* Holding(uintptr_t address, size_t bytes) {
  auto found = allocations.upper_bound(address);
  if (found == allocations.begin()) return nullptr;
  --found;
  if (address + bytes > found->first + found->second.bytes) return nullptr;
  return &*found;
}

void SetPages(uintptr_t base, Allocation& allocation, uintptr_t first, uintptr_t end,
              DWORD protect) {
  mprotect(reinterpret_cast<void*>(first), end - first, HostProtection(protect));
  for (uintptr_t page = first; page < end; page += kPage) {
    allocation.page_protect[(page - base) / kPage] = protect;
  }
}

}  // namespace

namespace qz::win32 {

void AddImageRegion(void* base, size_t bytes, const DWORD* protections) {
  std::lock_guard lock(memory_mutex);
  Allocation image;
  image.bytes = RoundUp(bytes, kPage);
  image.image = true;
  image.allocation_protect = PAGE_EXECUTE_WRITECOPY;
  image.page_protect.assign(protections, protections + image.bytes / kPage);
  allocations[reinterpret_cast<uintptr_t>(base)] = std::move(image);
}

void RemoveImageRegion(void* base) {
  std::lock_guard lock(memory_mutex);
  allocations.erase(reinterpret_cast<uintptr_t>(base));
}

}  // namespace qz::win32

extern "C" {

LPVOID WINAPI VirtualAlloc(LPVOID lpAddress, SIZE_T dwSize, DWORD flAllocationType,
                           DWORD flProtect) {
  const DWORD kind = flAllocationType & (MEM_COMMIT | MEM_RESERVE);
  if (dwSize == 0 || kind == 0 || (flAllocationType & ~kind) != 0 || !IsProtection(flProtect)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::lock_guard lock(memory_mutex);
  if (lpAddress == nullptr || (kind & MEM_RESERVE) != 0) {
    // A new allocation; one at a chosen place is not offered (nothing here asks for it).
    if (lpAddress != nullptr) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return nullptr;
    }
    const size_t bytes = RoundUp(dwSize, kPage);
    void* mapped = mmap(nullptr, bytes + kGranularity, PROT_NONE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    // Windows places allocations on 64 KiB boundaries; the rest of the mapping goes back.
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t base = RoundUp(start, kGranularity);
    if (base > start) munmap(mapped, base - start);
    munmap(reinterpret_cast<void*>(base + bytes), start + kGranularity - base);
    Allocation& allocation = allocations[base];
    allocation = Allocation{bytes, false, flProtect, std::vector<DWORD>(bytes / kPage, 0)};
    if ((kind & MEM_COMMIT) != 0) SetPages(base, allocation, base, base + bytes, flProtect);
    return reinterpret_cast<LPVOID>(base);
  }
  const uintptr_t first = reinterpret_cast<uintptr_t>(lpAddress) / kPage * kPage;
  const uintptr_t end = RoundUp(reinterpret_cast<uintptr_t>(lpAddress) + dwSize, kPage);
  auto* holding = Holding(first, end - first);
  if (holding == nullptr || holding->second.image) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return nullptr;
  }
  SetPages(holding->first, holding->second, first, end, flProtect);
  return reinterpret_cast<LPVOID>(first);
}

BOOL WINAPI VirtualFree(LPVOID lpAddress, SIZE_T dwSize, DWORD dwFreeType) {
  std::lock_guard lock(memory_mutex);
  const uintptr_t address = reinterpret_cast<uintptr_t>(lpAddress);
  if (dwFreeType == MEM_RELEASE) {
    const auto found = allocations.find(address);
    if (dwSize != 0 || found == allocations.end() || found->second.image) {
      SetLastError(found == allocations.end() ? ERROR_INVALID_ADDRESS : ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    munmap(lpAddress, found->second.bytes);
    allocations.erase(found);
    return TRUE;
  }
  if (dwFreeType != MEM_DECOMMIT) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto* holding = Holding(address, dwSize);
  if (holding == nullptr || holding->second.image) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  // Size 0 with the base decommits the whole allocation.
  const uintptr_t first = address / kPage * kPage;
  const uintptr_t end =
      dwSize == 0 ? holding->first + holding->second.bytes : RoundUp(address + dwSize, kPage);
  madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
  SetPages(holding->first, holding->second, first, end, 0);
  return TRUE;
}

BOOL WINAPI VirtualProtect(LPVOID lpAddress, SIZE_T dwSize, DWORD flNewProtect,
                           PDWORD lpflOldProtect) {
  if (!IsProtection(flNewProtect) || lpflOldProtect == nullptr) {
    SetLastError(lpflOldProtect == nullptr ? ERROR_NOACCESS : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(memory_mutex);
  const uintptr_t first = reinterpret_cast<uintptr_t>(lpAddress) / kPage * kPage;
  const uintptr_t end = RoundUp(reinterpret_cast<uintptr_t>(lpAddress) + dwSize, kPage);
  auto* holding = Holding(first, end - first);
  if (holding == nullptr) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  Allocation& allocation = holding->second;
  for (uintptr_t page = first; page < end; page += kPage) {
    if (allocation.page_protect[(page - holding->first) / kPage] == 0) {
      SetLastError(ERROR_INVALID_ADDRESS);  // reserved pages have no protection to change
      return FALSE;
    }
  }
  *lpflOldProtect = allocation.page_protect[(first - holding->first) / kPage];
  SetPages(holding->first, allocation, first, end, flNewProtect);
  return TRUE;
}

// The run of pages from the one holding the address that share its state and protection.
SIZE_T WINAPI VirtualQuery(LPCVOID lpAddress, PMEMORY_BASIC_INFORMATION lpBuffer, SIZE_T dwLength) {
  if (lpBuffer == nullptr || dwLength < sizeof(MEMORY_BASIC_INFORMATION)) {
    SetLastError(ERROR_BAD_LENGTH);
    return 0;
  }
  std::lock_guard lock(memory_mutex);
  const uintptr_t first = reinterpret_cast<uintptr_t>(lpAddress) / kPage * kPage;
  auto* holding = Holding(first, 1);
  if (holding == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const Allocation& allocation = holding->second;
  const size_t page_count = allocation.page_protect.size();
  size_t index = (first - holding->first) / kPage;
  const DWORD protect = allocation.page_protect[index];
  size_t last = index;
  while (last + 1 < page_count && allocation.page_protect[last + 1] == protect) ++last;
  *lpBuffer = MEMORY_BASIC_INFORMATION{};
  lpBuffer->BaseAddress = reinterpret_cast<PVOID>(first);
  lpBuffer->AllocationBase = reinterpret_cast<PVOID>(holding->first);
  lpBuffer->AllocationProtect = allocation.allocation_protect;
  lpBuffer->RegionSize = (last + 1 - index) * kPage;
  lpBuffer->State = protect == 0 ? MEM_RESERVE : MEM_COMMIT;
  lpBuffer->Protect = protect;
  lpBuffer->Type = allocation.image ? MEM_IMAGE : MEM_PRIVATE;
  return sizeof(MEMORY_BASIC_INFORMATION);
}

}  // extern "C"
