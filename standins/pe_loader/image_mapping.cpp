#include "pe_loader/image_mapping.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>

#include "win32/runtime_functions.h"

namespace standin::pe {
namespace {

constexpr uint32_t kPage = 4096;
constexpr uint32_t kGranularity = 65536;

uint32_t RoundUp(uint32_t value, uint32_t step) {
  return (value + step - 1) / step * step;
}

template <typename T>
bool ReadAt(const std::vector<uint8_t>& file, size_t offset, T* value) {
  if (offset > file.size() || sizeof(T) > file.size() - offset) return false;
  std::memcpy(value, file.data() + offset, sizeof(T));
  return true;
}

void* MapAnywhere(uint32_t bytes) {
  void* mapped = mmap(nullptr, bytes + kGranularity, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  // Images start on 64 KiB boundaries, as Windows places them.
  const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t base = (start + kGranularity - 1) / kGranularity * kGranularity;
  if (base > start) munmap(mapped, base - start);
  munmap(reinterpret_cast<void*>(base + bytes), start + kGranularity - base);
  return reinterpret_cast<void*>(base);
}

// The preferred base when it is free; with kElsewhere the preferred range is held while
// another place is chosen, so the image surely moves.
uint8_t* Place(uint32_t preferred, uint32_t bytes, Placement placement) {
  void* wanted = reinterpret_cast<void*>(static_cast<uintptr_t>(preferred));
  void* at_base = mmap(wanted, bytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
  if (at_base != MAP_FAILED && at_base != wanted) {
    munmap(at_base, bytes);  // an old kernel took the address as a hint only
    at_base = MAP_FAILED;
  }
  if (placement == Placement::kPreferredBase && at_base != MAP_FAILED) {
    return static_cast<uint8_t*>(at_base);
  }
  void* elsewhere = MapAnywhere(bytes);
  if (at_base != MAP_FAILED) munmap(at_base, bytes);
  return static_cast<uint8_t*>(elsewhere);
}

DWORD PageProtection(uint32_t characteristics) {
  const bool execute = (characteristics & kSectionExecute) != 0;
  const bool write = (characteristics & kSectionWrite) != 0;
  if (execute) return write ? PAGE_EXECUTE_READWRITE : PAGE_EXECUTE_READ;
  return write ? PAGE_READWRITE : PAGE_READONLY;
}

}  // namespace

MappedImage MapImage(const std::vector<uint8_t>& file, Placement placement, std::string* error) {
  uint16_t dos_magic = 0;
  uint32_t pe_offset = 0;
  uint32_t signature = 0;
  FileHeader file_header{};
  OptionalHeader optional{};
  if (!ReadAt(file, 0, &dos_magic) || dos_magic != kDosMagic ||
      !ReadAt(file, kLfanewOffset, &pe_offset) || !ReadAt(file, pe_offset, &signature) ||
      signature != kPeSignature || !ReadAt(file, pe_offset + 4, &file_header) ||
      !ReadAt(file, pe_offset + 4 + sizeof(FileHeader), &optional)) {
    *error = "not a PE file";
    return {};
  }
  if (file_header.machine != kMachineI386 || optional.magic != kOptionalMagicPe32 ||
      (file_header.characteristics & kFileIsDll) == 0) {
    *error = "not a 32-bit x86 DLL";
    return {};
  }
  const size_t sections_offset =
      pe_offset + 4 + sizeof(FileHeader) + file_header.optional_header_size;
  const size_t sections_end = sections_offset + file_header.section_count * sizeof(SectionHeader);
  if (optional.section_alignment != kPage || optional.headers_size > optional.image_size ||
      sections_end > optional.headers_size || optional.headers_size > file.size()) {
    *error = "headers out of the ordinary layout";
    return {};
  }
  MappedImage image;
  image.size = RoundUp(optional.image_size, kPage);
  image.preferred_base = optional.image_base;
  image.base = Place(optional.image_base, image.size, placement);
  if (image.base == nullptr) {
    *error = "no room for the image";
    return {};
  }
  std::memcpy(image.base, file.data(), optional.headers_size);
  image.header = image.At<const OptionalHeader>(pe_offset + 4 + sizeof(FileHeader));
  image.sections = image.At<const SectionHeader>(static_cast<uint32_t>(sections_offset));
  image.section_count = file_header.section_count;
  for (int i = 0; i < image.section_count; ++i) {
    const SectionHeader& section = image.sections[i];
    const uint32_t bytes = std::min(section.raw_size, section.virtual_size);
    if (!image.Holds(section.rva, std::max(section.raw_size, section.virtual_size)) ||
        section.raw_offset > file.size() || bytes > file.size() - section.raw_offset) {
      *error = "a section lies outside the image or the file";
      UnmapImage(image);
      return {};
    }
    std::memcpy(image.base + section.rva, file.data() + section.raw_offset, bytes);
  }
  return image;
}

bool ApplyRelocations(const MappedImage& image, std::string* error) {
  const uint32_t delta =
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(image.base)) - image.preferred_base;
  if (delta == 0) return true;
  const DataDirectory directory = image.header->directories[kRelocationDirectory];
  if (directory.size == 0) {
    *error = "the image has no base relocations and its preferred base is taken";
    return false;
  }
  uint32_t offset = 0;
  while (offset + sizeof(RelocationBlock) <= directory.size) {
    const auto* block = image.At<const RelocationBlock>(directory.rva + offset);
    if (block->block_size < sizeof(RelocationBlock) ||
        offset + block->block_size > directory.size) {
      *error = "a base relocation block is malformed";
      return false;
    }
    const auto* entries = reinterpret_cast<const uint16_t*>(block + 1);
    const uint32_t count = (block->block_size - sizeof(RelocationBlock)) / 2;
    for (uint32_t i = 0; i < count; ++i) {
      const int type = entries[i] >> 12;
      const uint32_t rva = block->page_rva + (entries[i] & 0xFFF);
      if (type == kRelocationAbsolute) continue;
      if (type != kRelocationHighLow || !image.Holds(rva, 4)) {
        *error = "a base relocation of an unknown kind or place";
        return false;
      }
      uint32_t value = 0;
      std::memcpy(&value, image.base + rva, 4);
      value += delta;
      std::memcpy(image.base + rva, &value, 4);
    }
    offset += block->block_size;
  }
  return true;
}

void ProtectImage(const MappedImage& image) {
  std::vector<DWORD> pages(image.size / kPage, PAGE_READONLY);
  for (int i = 0; i < image.section_count; ++i) {
    const SectionHeader& section = image.sections[i];
    const uint32_t end = RoundUp(section.rva + std::max(section.virtual_size, 1u), kPage);
    for (uint32_t page = section.rva / kPage; page < end / kPage && page < pages.size(); ++page) {
      pages[page] = PageProtection(section.characteristics);
    }
  }
  qz::win32::AddImageRegion(image.base, image.size, pages.data());
  for (size_t page = 0; page < pages.size(); ++page) {
    DWORD unused = 0;
    VirtualProtect(image.base + page * kPage, kPage, pages[page], &unused);
  }
}

void UnmapImage(const MappedImage& image) {
  qz::win32::RemoveImageRegion(image.base);
  munmap(image.base, image.size);
}

}  // namespace standin::pe
