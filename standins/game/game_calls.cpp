#include "game/game_calls.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "game/game_image.h"
#include "game/x86_code.h"

namespace standin::game {
namespace {

// Values no compiler leaves in a register by chance: a callee that returns with another value
// in one of them did not keep it.
constexpr uint32_t kKeptEbx = 0xB0B0B0B0;
constexpr uint32_t kKeptEsi = 0x51515151;
constexpr uint32_t kKeptEdi = 0xD1D1D1D1;
constexpr uint32_t kKeptEbp = 0xBEBEBEBE;

// One call as the machine code below reads and fills it; the offsets are written into the code.
struct CallRecord {
  uint32_t target;              // 0
  uint32_t count;               // 4
  const uint32_t* arguments;    // 8
  uint32_t ecx;                 // 12
  uint32_t edx;                 // 16
  uint32_t saved[5];            // 20: EBX, ESI, EDI, EBP, ESP of the C++ side
  uint32_t esp_before;          // 40: at the first argument, just before the call
  uint32_t esp_after;           // 44
  uint32_t eax;                 // 48
  uint32_t ebx, esi, edi, ebp;  // 52..64: as the callee left them
};
static_assert(offsetof(CallRecord, esp_before) == 40 && offsetof(CallRecord, ebp) == 64);

// The call under way on this thread. The code finds its record through it after the callee
// returned, when neither the stack pointer nor EBP can be trusted.
thread_local CallRecord* current_call = nullptr;

CallRecord* __attribute__((cdecl)) CurrentCall() {
  return current_call;
}

// cdecl (record): copies the arguments below a stack pointer 4 bytes past a 16-byte boundary, so
// the callee is aligned to 4 bytes only, loads the kept registers with marks and calls.
void LayOutCaller(CodeWriter& code) {
  constexpr uint8_t kPrologue[] = {
      0x8B, 0x44, 0x24, 0x04,                    // mov eax, [esp+4]
      0x89, 0x58, 0x14,                          // mov [eax+20], ebx
      0x89, 0x70, 0x18,                          // mov [eax+24], esi
      0x89, 0x78, 0x1C,                          // mov [eax+28], edi
      0x89, 0x68, 0x20,                          // mov [eax+32], ebp
      0x89, 0x60, 0x24,                          // mov [eax+36], esp
      0x8B, 0x48, 0x04,                          // mov ecx, [eax+4]
      0x8B, 0x70, 0x08,                          // mov esi, [eax+8]
      0x8D, 0x14, 0x8D, 0x00, 0x00, 0x00, 0x00,  // lea edx, [ecx*4]
      0x29, 0xD4,                                // sub esp, edx
      0x83, 0xE4, 0xF0,                          // and esp, -16
      0x83, 0xEC, 0x0C,                          // sub esp, 12
      0x89, 0xE7,                                // mov edi, esp
      0xFC,                                      // cld
      0xF3, 0xA5,                                // rep movsd
      0x89, 0x60, 0x28,                          // mov [eax+40], esp
      0x8B, 0x48, 0x0C,                          // mov ecx, [eax+12]
      0x8B, 0x50, 0x10,                          // mov edx, [eax+16]
  };
  for (uint8_t byte : kPrologue) code.Byte(byte);
  code.Byte(0xBB);  // mov ebx, mark
  code.Dword(kKeptEbx);
  code.Byte(0xBE);  // mov esi, mark
  code.Dword(kKeptEsi);
  code.Byte(0xBF);  // mov edi, mark
  code.Dword(kKeptEdi);
  code.Byte(0xBD);  // mov ebp, mark
  code.Dword(kKeptEbp);
  code.Byte(0xFF);  // call [eax]
  code.Byte(0x10);
  // Keep what the callee left, find the record again and store it there.
  for (uint8_t push : {uint8_t{0x50}, uint8_t{0x53}, uint8_t{0x56}, uint8_t{0x57}, uint8_t{0x55}}) {
    code.Byte(push);  // eax ebx esi edi ebp
  }
  code.Byte(0xB8);  // mov eax, CurrentCall
  code.Dword(Address(reinterpret_cast<void*>(&CurrentCall)));
  code.Byte(0xFF);  // call eax
  code.Byte(0xD0);
  constexpr uint8_t kEpilogue[] = {
      0x8F, 0x40, 0x40,  // pop [eax+64]
      0x8F, 0x40, 0x3C,  // pop [eax+60]
      0x8F, 0x40, 0x38,  // pop [eax+56]
      0x8F, 0x40, 0x34,  // pop [eax+52]
      0x8F, 0x40, 0x30,  // pop [eax+48]
      0x89, 0x60, 0x2C,  // mov [eax+44], esp
      0x8B, 0x58, 0x14,  // mov ebx, [eax+20]
      0x8B, 0x70, 0x18,  // mov esi, [eax+24]
      0x8B, 0x78, 0x1C,  // mov edi, [eax+28]
      0x8B, 0x68, 0x20,  // mov ebp, [eax+32]
      0x8B, 0x60, 0x24,  // mov esp, [eax+36]
      0xC3,              // ret
  };
  for (uint8_t byte : kEpilogue) code.Byte(byte);
}

using Caller = void(__attribute__((cdecl)) *)(CallRecord*);

Caller TheCaller() {
  static const Caller caller = [] {
    MapImage();
    const uint32_t address = AllocateCode(160);
    CodeWriter code(address);
    LayOutCaller(code);
    return reinterpret_cast<Caller>(static_cast<uintptr_t>(address));
  }();
  return caller;
}

[[noreturn]] void Broken(const CallRecord& call, const char* what, uint32_t expected,
                         uint32_t found) {
  std::fprintf(stderr, "game call of %08X with %u stack arguments: %s, expected %08X, found %08X\n",
               call.target, call.count, what, expected, found);
  std::abort();
}

uint32_t Call(uint32_t target, const std::vector<uint32_t>& stack_arguments, uint32_t ecx,
              uint32_t edx, bool callee_removes) {
  CallRecord call{};
  call.target = target;
  call.count = static_cast<uint32_t>(stack_arguments.size());
  call.arguments = stack_arguments.data();
  call.ecx = ecx;
  call.edx = edx;
  CallRecord* const outer = current_call;
  current_call = &call;
  TheCaller()(&call);
  current_call = outer;
  const uint32_t removed = callee_removes ? 4 * call.count : 0;
  if (call.esp_after - call.esp_before != removed) {
    Broken(call, "argument bytes removed", removed, call.esp_after - call.esp_before);
  }
  if (call.ebx != kKeptEbx) Broken(call, "EBX not kept", kKeptEbx, call.ebx);
  if (call.esi != kKeptEsi) Broken(call, "ESI not kept", kKeptEsi, call.esi);
  if (call.edi != kKeptEdi) Broken(call, "EDI not kept", kKeptEdi, call.edi);
  if (call.ebp != kKeptEbp) Broken(call, "EBP not kept", kKeptEbp, call.ebp);
  return call.eax;
}

}  // namespace

uint32_t CallGame(uint32_t target, const std::vector<uint32_t>& stack_arguments, uint32_t ecx,
                  uint32_t edx) {
  return Call(target, stack_arguments, ecx, edx, true);
}

uint32_t CallGameCdecl(uint32_t target, const std::vector<uint32_t>& stack_arguments) {
  return Call(target, stack_arguments, 0, 0, false);
}

uint32_t CallMethod(void* object, int slot, std::vector<uint32_t> arguments) {
  void* const* table = *static_cast<void* const* const*>(object);
  arguments.insert(arguments.begin(), Word(object));
  return CallGame(Word(table[slot]), arguments);
}

void CallConstructor(uint32_t target, void* object, const std::vector<uint32_t>& stack_arguments) {
  const uint32_t returned = CallGame(target, stack_arguments, Word(object));
  if (returned != Word(object)) {
    std::fprintf(stderr, "constructor %08X returned %08X instead of its object %08X\n", target,
                 returned, Word(object));
    std::abort();
  }
}

}  // namespace standin::game
