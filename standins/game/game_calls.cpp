#include "game/game_calls.h"

#include "game/game_image.h"
#include "game/x86_code.h"

namespace standin::game {
namespace {

// stdcall (target, count, arguments, ecx, edx): copies the arguments below a stack pointer that
// is 8 bytes past a 16-byte boundary, so the callee starts misaligned, then calls the target.
constexpr uint8_t kCallerCode[] = {
    0x55,                                      // push ebp
    0x89, 0xE5,                                // mov ebp, esp
    0x56,                                      // push esi
    0x57,                                      // push edi
    0x8B, 0x4D, 0x0C,                          // mov ecx, [ebp+12]
    0x8B, 0x75, 0x10,                          // mov esi, [ebp+16]
    0x8D, 0x04, 0x8D, 0x00, 0x00, 0x00, 0x00,  // lea eax, [ecx*4]
    0x29, 0xC4,                                // sub esp, eax
    0x83, 0xE4, 0xF0,                          // and esp, -16
    0x83, 0xEC, 0x08,                          // sub esp, 8
    0x89, 0xE7,                                // mov edi, esp
    0xFC,                                      // cld
    0xF3, 0xA5,                                // rep movsd
    0x8B, 0x4D, 0x14,                          // mov ecx, [ebp+20]
    0x8B, 0x55, 0x18,                          // mov edx, [ebp+24]
    0xFF, 0x55, 0x08,                          // call [ebp+8]
    0x8D, 0x65, 0xF8,                          // lea esp, [ebp-8]
    0x5F,                                      // pop edi
    0x5E,                                      // pop esi
    0x5D,                                      // pop ebp
    0xC2, 0x14, 0x00,                          // ret 20
};

using Caller = uint32_t(__attribute__((stdcall))*)(uint32_t, uint32_t, const uint32_t*, uint32_t,
                                                   uint32_t);

Caller TheCaller() {
  static const Caller caller = [] {
    MapImage();
    const uint32_t address = AllocateCode(sizeof kCallerCode);
    std::memcpy(Bytes(address), kCallerCode, sizeof kCallerCode);
    return reinterpret_cast<Caller>(static_cast<uintptr_t>(address));
  }();
  return caller;
}

}  // namespace

uint32_t CallGame(uint32_t target, const std::vector<uint32_t>& stack_arguments, uint32_t ecx,
                  uint32_t edx) {
  return TheCaller()(target, static_cast<uint32_t>(stack_arguments.size()),
                     stack_arguments.data(), ecx, edx);
}

uint32_t CallMethod(void* object, int slot, std::vector<uint32_t> arguments) {
  void* const* table = *static_cast<void* const* const*>(object);
  arguments.insert(arguments.begin(), Word(object));
  return CallGame(Word(table[slot]), arguments);
}

}  // namespace standin::game
