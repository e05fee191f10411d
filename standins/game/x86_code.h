#pragma once
// Just enough IA-32 machine code for the stand-ins to lay out the game's routines and for the
// patching library to splice them.
#include <cstdint>
#include <cstring>

namespace standin {

inline uint32_t Address(const void* pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

inline uint8_t* Bytes(uint32_t address) {
  return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address));
}

// A data cell of the game image.
template <typename Value>
Value& Cell(uint32_t address) {
  return *reinterpret_cast<Value*>(static_cast<uintptr_t>(address));
}

// Writes machine code forwards from a start address.
class CodeWriter {
 public:
  explicit CodeWriter(uint32_t address) : at_(address) {}
  uint32_t At() const { return at_; }

  void Byte(uint8_t value) { *Bytes(at_++) = value; }
  void Dword(uint32_t value) {
    std::memcpy(Bytes(at_), &value, 4);
    at_ += 4;
  }
  // E8/E9 with a displacement from the end of the instruction.
  void Relative(uint8_t opcode, uint32_t target) {
    Byte(opcode);
    Dword(target - (at_ + 4));
  }
  void Call(uint32_t target) { Relative(0xE8, target); }
  void Jump(uint32_t target) { Relative(0xE9, target); }
  void PushImmediate(uint32_t value) {
    Byte(0x68);
    Dword(value);
  }
  // push dword [esp + offset]
  void PushStackArgument(uint8_t offset) {
    Byte(0xFF);
    Byte(0x74);
    Byte(0x24);
    Byte(offset);
  }
  void SubEsp(uint8_t bytes) {
    Byte(0x83);
    Byte(0xEC);
    Byte(bytes);
  }
  void AddEsp(uint8_t bytes) {
    Byte(0x83);
    Byte(0xC4);
    Byte(bytes);
  }
  void Return(uint16_t bytes) {
    if (bytes == 0) {
      Byte(0xC3);
      return;
    }
    Byte(0xC2);
    Byte(static_cast<uint8_t>(bytes));
    Byte(static_cast<uint8_t>(bytes >> 8));
  }
  void Nops(uint32_t until) {
    while (at_ < until) Byte(0x90);
  }

 private:
  uint32_t at_;
};

// Target of the E8/E9 instruction at `address`.
inline uint32_t RelativeTarget(uint32_t address) {
  uint32_t displacement;
  std::memcpy(&displacement, Bytes(address + 1), 4);
  return address + 5 + displacement;
}

}  // namespace standin
