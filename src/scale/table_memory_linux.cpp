#include <sys/mman.h>

#include <cstdint>

#include "scale/table_memory.h"

namespace qz::scale {
namespace {

// A whole huge page is one fault instead of 512, which is most of the cost of filling a fresh
// 64 MiB table.
constexpr size_t kHugePage = size_t{2} << 20;

void Unmap(char* from, char* to) {
  if (to > from) munmap(from, static_cast<size_t>(to - from));
}

}  // namespace

void* AllocateTableBlock(size_t bytes) {
  // Map a huge page more than asked for and give back the unaligned ends.
  const size_t mapped = bytes + kHugePage;
  void* mapping = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return nullptr;
  char* start = static_cast<char*>(mapping);
  const auto address = reinterpret_cast<uintptr_t>(start);
  char* block = start + ((kHugePage - address % kHugePage) % kHugePage);
  Unmap(start, block);
  Unmap(block + bytes, start + mapped);
  // Only advice: without transparent huge pages the block is still whole, on small pages.
  madvise(block, bytes, MADV_HUGEPAGE);
  return block;
}

void ReleaseTableBlock(void* block, size_t bytes) {
  if (block != nullptr) munmap(block, bytes);
}

}  // namespace qz::scale
