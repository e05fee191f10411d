#pragma once
// A 32-bit DLL's file laid out in memory as its sections ask, at its preferred base or
// elsewhere with its base relocations applied, and then given the page protections its
// sections' flags call for.
#include <cstdint>
#include <string>
#include <vector>

#include "pe_loader/pe_format.h"

namespace standin::pe {

struct MappedImage {
  uint8_t* base = nullptr;
  uint32_t size = 0;
  uint32_t preferred_base = 0;
  const OptionalHeader* header = nullptr;  // inside the mapped headers
  const SectionHeader* sections = nullptr;
  int section_count = 0;

  template <typename T>
  T* At(uint32_t rva) const {
    return reinterpret_cast<T*>(base + rva);
  }
  bool Holds(uint32_t rva, uint32_t bytes) const { return rva <= size && bytes <= size - rva; }
};

enum class Placement { kPreferredBase, kElsewhere };

// Empty base and a reason in `error` when the file is no 32-bit x86 DLL or cannot be placed.
MappedImage MapImage(const std::vector<uint8_t>& file, Placement placement, std::string* error);
bool ApplyRelocations(const MappedImage& image, std::string* error);
// Sets every page's protection from its section and tells VirtualQuery about the image.
void ProtectImage(const MappedImage& image);
void UnmapImage(const MappedImage& image);

}  // namespace standin::pe
