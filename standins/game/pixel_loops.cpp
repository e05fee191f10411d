#include "game/pixel_loops.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/x86_code.h"

namespace standin::game {
namespace {

// Where each loop's bytes sit and the values that make it a 32-bit loop. A loop reads its
// pictures through records: the pixels at 2 bytes each at offset 0x28, at 4 bytes each at
// 0x2C, and the row pitches at offsets of the loop's own (the 32-bit one at `pitch`, the 16-bit
// one 0x40 further on). The rows' first pixels are found by `lea` with a scaled index, whose SIB
// bytes are given; the step to the next pixel is the immediate at `step`.
struct LoopSite {
  uint32_t source_pixels;       // disp8 of the source record's pixels
  uint32_t destination_pixels;  // disp8 of the destination record's pixels
  uint32_t column_start;        // SIB of lea (destination pixels + column * size); 0: none
  uint8_t column_sib;
  uint8_t pixel_sib;  // SIB of lea (source row + index * size), the byte before the copy
  uint32_t copy;      // load, test, skip when 0, store
  const char* copy_code;
  uint32_t step;
  uint32_t source_pitch;  // disp8 of the source record's pitch
  uint8_t source_pitch_field;
  uint32_t destination_pitch;  // disp8 of the destination record's pitch
  uint8_t destination_pitch_field;
};

// clang-format off
constexpr LoopSite kLoops[kPixelLoopCount] = {
    {0x5FA18E, 0x5FA19C, 0x5FA1C7, 0xB9, 0x81, 0x5FA214, "8B 00 90 85 C0 90 74 0C 8B 5D FC 89 03 90", 0x5FA22B, 0x5FA24F, 0x31, 0x5FA255, 0x30},
    {0x5FA737, 0x5FA748, 0x5FA759, 0xB7, 0x83, 0x5FA77A, "8B 00 90 85 C0 90 74 09 89 07 90", 0x5FA78D, 0x5FA7B0, 0x30, 0x5FA7B9, 0x38},
    {0x5FA909, 0x5FA91A, 0x5FA92B, 0xB7, 0x83, 0x5FA948, "8B 00 90 85 C0 90 74 09 89 07 90", 0x5FA95B, 0x5FA97E, 0x30, 0x5FA987, 0x38},
    {0x5F976E, 0x5F977D, 0x5F978E, 0x9F, 0x8F, 0x5F97B2, "8B 09 90 85 C9 90 74 08 89 0E 90", 0x5F97C4, 0x5F97E7, 0x39, 0x5F97F0, 0x31},
    {0x5F9847, 0x5F9852, 0, 0, 0x8F, 0x5F98DC, "8B 09 90 85 C9 90 74 06 8B 7D 10 89 0F 90", 0x5F98EF, 0x5F9922, 0x08, 0x5F992B, 0x38},
    {0x5F9AFF, 0x5F9B0E, 0x5F9B1F, 0x9F, 0x8F, 0x5F9B43, "8B 09 90 85 C9 90 74 08 89 0E 90", 0x5F9B55, 0x5F9B7B, 0x39, 0x5F9B81, 0x31},
    {0x5F9BD8, 0x5F9BE3, 0, 0, 0x8F, 0x5F9C6D, "8B 09 90 85 C9 90 74 06 8B 7D 10 89 0F 90", 0x5F9C80, 0x5F9CB3, 0x10, 0x5F9CBC, 0x38},
    {0x5FA4E8, 0x5FA4F6, 0x5FA507, 0x9F, 0x87, 0x5FA527, "8B 00 90 85 C0 90 74 09 89 06 90", 0x5FA53A, 0x5FA560, 0x38, 0x5FA566, 0x30},
    {0x5F93EE, 0x5F9400, 0x5F9411, 0xBF, 0x8B, 0x5F9432, "8B 09 90 85 C9 90 74 08 89 0F 90", 0x5F9444, 0x5F9467, 0x31, 0x5F9470, 0x39},
    {0x5F94C6, 0x5F94D5, 0x5F9509, 0xBB, 0x8B, 0x5F9554, "8B 09 90 85 C9 90 74 0B 8B 45 08 89 08 90", 0x5F956A, 0x5F9594, 0x19, 0x5F959A, 0x39},
    {0x5F8DB3, 0x5F8DC2, 0x5F8DD3, 0xB3, 0x8B, 0x5F8DF7, "8B 09 90 85 C9 90 74 08 89 0E 90", 0x5F8E09, 0x5F8E2F, 0x39, 0x5F8E35, 0x31},
    {0x5F8E8B, 0x5F8E9A, 0x5F8ECF, 0xBB, 0x8B, 0x5F8F18, "8B 09 90 85 C9 90 74 0B 8B 45 14 89 08 90", 0x5F8F2E, 0x5F8F52, 0x32, 0x5F8F58, 0x3A},
    {0x5F9EEF, 0x5F9F00, 0x5F9F11, 0xB7, 0x83, 0x5F9F32, "8B 00 90 85 C0 90 74 09 89 07 90", 0x5F9F45, 0x5F9F77, 0x10, 0x5F9F7D, 0x38},
    {0x5FA084, 0x5FA095, 0x5FA0A6, 0xB7, 0x83, 0x5FA0C7, "8B 00 90 85 C0 90 74 09 89 07 90", 0x5FA0DA, 0x5FA103, 0x10, 0x5FA112, 0x38},
};
// clang-format on

constexpr uint8_t kPixels16Field = 0x28;
constexpr uint8_t kPixels32Field = 0x2C;
constexpr uint8_t kPitch16Distance = 0x40;
constexpr size_t kRecordSize = 0x80;

std::vector<uint8_t> Hex(const char* text) {
  std::vector<uint8_t> bytes;
  unsigned value = 0;
  int consumed = 0;
  while (std::sscanf(text, "%2x%n", &value, &consumed) == 1) {
    bytes.push_back(static_cast<uint8_t>(value));
    text += consumed;
  }
  return bytes;
}

// The game's own bytes: scale 2 where the switch writes scale 4, a step of 2, and 16-bit loads,
// tests and stores (each no-operation the switch writes was a 0x66 prefix before its
// instruction).
uint8_t Scale2(uint8_t sib) {
  return static_cast<uint8_t>((sib & 0x3F) | 0x40);
}

std::vector<uint8_t> SixteenBitCopy(const std::vector<uint8_t>& copy) {
  std::vector<uint8_t> bytes = {0x66, copy[0], copy[1], 0x66, copy[3], copy[4], copy[6], copy[7]};
  bytes.insert(bytes.end(), copy.begin() + 8, copy.end() - 3);  // fetch of the destination
  bytes.insert(bytes.end(), {0x66, copy[copy.size() - 3], copy[copy.size() - 2]});
  return bytes;
}

// Register numbers as ModRM and SIB bytes hold them.
constexpr uint8_t kEax = 0;
constexpr uint8_t kEcx = 1;
constexpr uint8_t kEdx = 2;
constexpr uint8_t kEbx = 3;
constexpr uint8_t kEbp = 5;

// Frame: arguments 0 to 3 are room a loop may keep its destination in; then the source and
// destination records, the column, the count and the rows. Locals below the frame pointer.
constexpr uint8_t kSourceRecord = 0x18;
constexpr uint8_t kDestinationRecord = 0x1C;
constexpr uint8_t kColumn = 0x20;
constexpr uint8_t kCount = 0x24;
constexpr uint8_t kRows = 0x28;
constexpr uint8_t kIndex = 0xF8;           // [ebp-8]
constexpr uint8_t kPixelCount = 0xF4;      // [ebp-0xC]
constexpr uint8_t kSourceRow = 0xF0;       // [ebp-0x10]
constexpr uint8_t kDestinationRow = 0xEC;  // [ebp-0x14]
constexpr uint8_t kRowsLeft = 0xE8;        // [ebp-0x18]

class LoopWriter {
 public:
  explicit LoopWriter(uint32_t address) : code_(address) {}
  uint32_t At() const { return code_.At(); }
  void Bytes(std::initializer_list<uint8_t> bytes) {
    for (uint8_t byte : bytes) code_.Byte(byte);
  }
  // Fills with no-operations up to `address`; code that does not fit is a layout mistake.
  void FillTo(uint32_t address) {
    if (code_.At() > address) {
      std::fprintf(stderr, "pixel loop layout: code at %08X runs past %08X\n", code_.At(), address);
      std::abort();
    }
    code_.Nops(address);
  }
  // op reg, [base + disp8]
  void Memory(uint8_t opcode, uint8_t reg, uint8_t base, uint8_t disp) {
    Bytes({opcode, static_cast<uint8_t>(0x40 | reg << 3 | base), disp});
  }
  void Load(uint8_t reg, uint8_t disp) { Memory(0x8B, reg, kEbp, disp); }
  void Store(uint8_t disp, uint8_t reg) { Memory(0x89, reg, kEbp, disp); }
  void Lea(uint8_t reg, uint8_t sib) { Bytes({0x8D, static_cast<uint8_t>(reg << 3 | 4), sib}); }
  void Branch(uint8_t condition, uint32_t target) {
    Bytes({0x0F, condition});
    code_.Dword(target - (code_.At() + 4));
  }

 private:
  CodeWriter code_;
};

void LayOut(const LoopSite& site) {
  const std::vector<uint8_t> copy = Hex(site.copy_code);
  const uint8_t source = copy[1] & 7;
  const bool fetches_destination = copy.size() == 14;
  const uint8_t destination = copy[copy.size() - 2] & 7;
  const auto slot = fetches_destination ? copy[10] : uint8_t{0};
  const uint32_t skip_target = site.copy + 8 + copy[7];
  const uint8_t pixel_base = site.pixel_sib & 7;
  const uint8_t column_base = site.column_sib & 7;
  const uint8_t column_index = site.column_sib >> 3 & 7;

  // Prologue; the source record's pixels become the first source row.
  LoopWriter code(site.source_pixels - 26);
  code.Bytes({0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x20, 0x53, 0x56, 0x57});
  code.Load(kEax, kCount);
  code.Store(kPixelCount, kEax);
  code.Load(kEax, kRows);
  code.Store(kRowsLeft, kEax);
  code.Load(kEax, kSourceRecord);
  code.FillTo(site.source_pixels - 2);
  code.Memory(0x8B, kEax, kEax, kPixels16Field);
  code.Store(kSourceRow, kEax);
  // The destination record's pixels, then the first destination row from the column on.
  code.Load(kEdx, kDestinationRecord);
  code.FillTo(site.destination_pixels - 2);
  const uint8_t pixels_register = site.column_start != 0 ? column_base : kEax;
  code.Memory(0x8B, pixels_register, kEdx, kPixels16Field);
  if (site.column_start != 0) {
    // With base and index the same register the lea gives the column times (1 + size): the
    // column comes off again and the pixels go on.
    const bool one_register = column_base == column_index;
    if (one_register) code.Store(kDestinationRow, column_base);
    code.Load(column_index, kColumn);
    code.FillTo(site.column_start - 2);
    code.Lea(kEax, Scale2(site.column_sib));
    if (one_register) {
      code.Memory(0x2B, kEax, kEbp, kColumn);
      code.Memory(0x03, kEax, kEbp, kDestinationRow);
    }
  }
  code.Store(kDestinationRow, kEax);

  // Each row: the destination from the row's start, the index from 0.
  const uint32_t row_loop = code.At();
  if (fetches_destination) {
    code.Load(kEax, kDestinationRow);
    code.Store(slot, kEax);
  } else {
    code.Load(destination, kDestinationRow);
  }
  code.Bytes({0xC7, 0x45, kIndex, 0, 0, 0, 0});
  code.FillTo(site.copy - 9);
  const uint32_t pixel_loop = code.At();
  code.Load(pixel_base, kSourceRow);
  code.Load(source, kIndex);
  code.Lea(source, Scale2(site.pixel_sib));
  for (uint8_t byte : SixteenBitCopy(copy)) code.Bytes({byte});
  code.FillTo(skip_target);
  if (fetches_destination) {
    code.FillTo(site.step - 3);
    code.Bytes({0x83, 0x45, slot, 0x02});
  } else {
    code.FillTo(site.step - 2);
    code.Bytes({0x83, static_cast<uint8_t>(0xC0 | destination), 0x02});
  }
  code.Bytes({0xFF, 0x45, kIndex});
  code.Load(source, kIndex);
  code.Memory(0x3B, source, kEbp, kPixelCount);
  code.Branch(0x8C, pixel_loop);  // jl

  // The next row: each row pointer goes on by its record's pitch.
  code.Load(kEax, kSourceRecord);
  code.Load(kEdx, kDestinationRecord);
  code.Load(kEcx, kSourceRow);
  code.FillTo(site.source_pitch - 2);
  code.Memory(0x03, kEcx, kEax, static_cast<uint8_t>(site.source_pitch_field + kPitch16Distance));
  code.Load(kEbx, kDestinationRow);
  code.FillTo(site.destination_pitch - 2);
  code.Memory(0x03, kEbx, kEdx,
              static_cast<uint8_t>(site.destination_pitch_field + kPitch16Distance));
  code.Store(kSourceRow, kEcx);
  code.Store(kDestinationRow, kEbx);
  code.Bytes({0xFF, 0x4D, kRowsLeft});
  code.Branch(0x85, row_loop);  // jnz
  code.Bytes({0x5F, 0x5E, 0x5B, 0x8B, 0xE5, 0x5D, 0xC3});
}

uint32_t Entry(const LoopSite& site) {
  return site.source_pixels - 26;
}

void Put(std::array<uint8_t, kRecordSize>& record, size_t offset, uint32_t value) {
  std::memcpy(record.data() + offset, &value, 4);
}

std::array<uint8_t, kRecordSize> Record(const LoopPicture& picture, uint8_t pitch_field) {
  std::array<uint8_t, kRecordSize> record{};
  Put(record, kPixels16Field, Address(picture.pixels16));
  Put(record, kPixels32Field, Address(picture.pixels32));
  Put(record, pitch_field, static_cast<uint32_t>(picture.pitch32));
  Put(record, pitch_field + kPitch16Distance, static_cast<uint32_t>(picture.pitch16));
  return record;
}

}  // namespace

void LayOutPixelLoops() {
  for (const LoopSite& site : kLoops) LayOut(site);
}

bool PixelLoopTakesColumn(size_t loop) {
  return kLoops[loop].column_start != 0;
}

void RunPixelLoop(size_t loop, const LoopPicture& source, const LoopPicture& destination,
                  int32_t column, int32_t count, int32_t rows) {
  const LoopSite& site = kLoops[loop];
  const std::array<uint8_t, kRecordSize> source_record = Record(source, site.source_pitch_field);
  const std::array<uint8_t, kRecordSize> destination_record =
      Record(destination, site.destination_pitch_field);
  using Routine = void (*)(uint32_t, uint32_t, uint32_t, uint32_t, const void*, const void*,
                           int32_t, int32_t, int32_t);
  reinterpret_cast<Routine>(static_cast<uintptr_t>(Entry(site)))(
      0, 0, 0, 0, source_record.data(), destination_record.data(), column, count, rows);
}

}  // namespace standin::game
