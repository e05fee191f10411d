#include "splicer/splicer_hooks.h"

#include "game/game_image.h"
#include "game/x86_code.h"

namespace standin::splicer {
namespace {

bool IsRelativeJumpOrCall(uint32_t address) {
  if (!game::InImage(address, 5)) return false;
  const uint8_t opcode = *Bytes(address);
  return opcode == 0xE8 || opcode == 0xE9;
}

// The five-byte instruction at `address`, moved elsewhere with its target kept, then a jump back
// behind it: runs what the patch displaced.
uint32_t Trampoline(uint32_t address) {
  const uint32_t trampoline = game::AllocateCode(16);
  CodeWriter code(trampoline);
  code.Relative(*Bytes(address), RelativeTarget(address));
  code.Jump(address + 5);
  return trampoline;
}

}  // namespace

bool PrepareHook(HookRecord& record, uint32_t) {
  switch (record.kind) {
    case 0:
      if (!game::InImage(record.address, 5) || *Bytes(record.address) != 0xE8) return false;
      record.original = RelativeTarget(record.address);
      return true;
    case 1:
      if (!IsRelativeJumpOrCall(record.address)) return false;
      record.original = Trampoline(record.address);
      return true;
    case 2:
      if (!game::InImage(record.address, 4)) return false;
      std::memcpy(&record.original, Bytes(record.address), 4);
      return true;
    default:
      return false;
  }
}

uint32_t HookEntry(const HookRecord& record, uint32_t hook_object) {
  if (record.mode == 0) return record.handler;
  // The handler is a standard call taking the hook first, then the register arguments of the
  // routine's convention, then its stack arguments.
  const uint32_t thunk = game::AllocateCode(16);
  CodeWriter code(thunk);
  code.Byte(0x58);                              // pop eax (return address)
  if (record.convention >= 2) code.Byte(0x52);  // push edx
  if (record.convention >= 1) code.Byte(0x51);  // push ecx
  code.PushImmediate(hook_object);
  code.Byte(0x50);  // push eax
  code.Jump(record.handler);
  return thunk;
}

void ApplyHook(const HookRecord& record, uint32_t entry) {
  switch (record.kind) {
    case 0:
      CodeWriter(record.address).Call(entry);
      break;
    case 1:
      CodeWriter(record.address).Jump(entry);
      break;
    default:
      std::memcpy(Bytes(record.address), &entry, 4);
      break;
  }
}

bool ApplyRegisterHook(HookRecord& record, uint32_t hook_object) {
  if (!IsRelativeJumpOrCall(record.address)) return false;
  record.original = Trampoline(record.address);
  const uint32_t thunk = game::AllocateCode(32);
  CodeWriter code(thunk);
  code.PushImmediate(record.original);  // where the game resumes unless the handler says else
  code.Byte(0x60);                      // pushad
  code.Byte(0x54);                      // push esp (the context)
  code.PushImmediate(hook_object);
  code.Call(record.handler);
  code.Byte(0x61);  // popad
  code.Return(0);   // to the resume address
  CodeWriter(record.address).Jump(thunk);
  return true;
}

}  // namespace standin::splicer
