#pragma once
// Memory for the process-wide lookup tables: one zeroed block straight from the system, on pages
// that are cheap to fill for the first time. The platform's half of this is chosen by the build.
#include <cstddef>

namespace qz::scale {

// A zeroed block of `bytes`, aligned to at least 64 KiB; null when it cannot be had.
void* AllocateTableBlock(size_t bytes);

// Returns a block of AllocateTableBlock with the same size.
void ReleaseTableBlock(void* block, size_t bytes);

}  // namespace qz::scale
