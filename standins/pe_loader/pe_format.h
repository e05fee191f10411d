#pragma once
// The parts of the 32-bit PE format the loader reads, at their file offsets.
#include <cstdint>

namespace standin::pe {

inline constexpr uint16_t kDosMagic = 0x5A4D;         // "MZ"
inline constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
inline constexpr uint16_t kMachineI386 = 0x014C;
inline constexpr uint16_t kOptionalMagicPe32 = 0x010B;
inline constexpr uint16_t kFileIsDll = 0x2000;
inline constexpr uint16_t kRelocationsStripped = 0x0001;
inline constexpr uint32_t kLfanewOffset = 0x3C;

struct FileHeader {
  uint16_t machine;
  uint16_t section_count;
  uint32_t time_stamp;
  uint32_t symbol_table;
  uint32_t symbol_count;
  uint16_t optional_header_size;
  uint16_t characteristics;
};

struct DataDirectory {
  uint32_t rva;
  uint32_t size;
};

enum Directory {
  kExportDirectory = 0,
  kImportDirectory = 1,
  kRelocationDirectory = 5,
  kTlsDirectory = 9
};

struct OptionalHeader {
  uint16_t magic;
  uint8_t linker_major;
  uint8_t linker_minor;
  uint32_t code_size;
  uint32_t initialised_size;
  uint32_t uninitialised_size;
  uint32_t entry_point;
  uint32_t code_base;
  uint32_t data_base;
  uint32_t image_base;
  uint32_t section_alignment;
  uint32_t file_alignment;
  uint16_t versions[6];
  uint32_t win32_version;
  uint32_t image_size;
  uint32_t headers_size;
  uint32_t checksum;
  uint16_t subsystem;
  uint16_t dll_characteristics;
  uint32_t stack_reserve;
  uint32_t stack_commit;
  uint32_t heap_reserve;
  uint32_t heap_commit;
  uint32_t loader_flags;
  uint32_t directory_count;
  DataDirectory directories[16];
};

struct SectionHeader {
  char name[8];
  uint32_t virtual_size;
  uint32_t rva;
  uint32_t raw_size;
  uint32_t raw_offset;
  uint32_t relocations;
  uint32_t line_numbers;
  uint16_t relocation_count;
  uint16_t line_number_count;
  uint32_t characteristics;
};

inline constexpr uint32_t kSectionExecute = 0x20000000;
inline constexpr uint32_t kSectionRead = 0x40000000;
inline constexpr uint32_t kSectionWrite = 0x80000000;

struct ImportDescriptor {
  uint32_t name_table;  // hint/name thunks, 0 in old images (then the address table serves)
  uint32_t time_stamp;
  uint32_t forwarder_chain;
  uint32_t name;
  uint32_t address_table;
};
inline constexpr uint32_t kImportByOrdinal = 0x80000000;

struct ExportDirectory {
  uint32_t characteristics;
  uint32_t time_stamp;
  uint16_t major;
  uint16_t minor;
  uint32_t name;
  uint32_t ordinal_base;
  uint32_t address_count;
  uint32_t name_count;
  uint32_t addresses;
  uint32_t names;
  uint32_t name_ordinals;
};

struct RelocationBlock {
  uint32_t page_rva;
  uint32_t block_size;  // this header included; 16-bit entries follow
};
inline constexpr int kRelocationAbsolute = 0;
inline constexpr int kRelocationHighLow = 3;

// Addresses here are virtual addresses of the image as loaded (already relocated).
struct TlsDirectory {
  uint32_t raw_data_start;
  uint32_t raw_data_end;
  uint32_t index_address;
  uint32_t callbacks_address;
  uint32_t zero_fill_size;
  uint32_t characteristics;
};

inline constexpr uint32_t kDllProcessDetach = 0;
inline constexpr uint32_t kDllProcessAttach = 1;
inline constexpr uint32_t kDllThreadAttach = 2;
inline constexpr uint32_t kDllThreadDetach = 3;

}  // namespace standin::pe
