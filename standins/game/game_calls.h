#pragma once
// The game calling code: arguments on a stack aligned to 4 bytes only (its old code keeps no
// more), the object or first arguments in ECX and EDX where the convention wants them. Every call
// checks what the game's code relies on afterwards: the callee took exactly its arguments off the
// stack (all of them for a standard call or this-call, none for a C call) and kept EBX, ESI, EDI
// and EBP. A call that breaks either stops the process with the target and what went wrong, as the
// game would crash soon after.
#include <cstdint>
#include <vector>

namespace standin::game {

// Standard call or this-call: the callee removes every stack argument.
uint32_t CallGame(uint32_t target, const std::vector<uint32_t>& stack_arguments, uint32_t ecx = 0,
                  uint32_t edx = 0);

// C call: the caller removes the arguments.
uint32_t CallGameCdecl(uint32_t target, const std::vector<uint32_t>& stack_arguments);

template <typename Pointer>
uint32_t Word(Pointer pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

// A method of an object that carries its table behind its first word, called as the game calls
// COM methods: the object first on the stack.
uint32_t CallMethod(void* object, int slot, std::vector<uint32_t> arguments);

// A constructor: this-call on `object`, which it must return.
void CallConstructor(uint32_t target, void* object, const std::vector<uint32_t>& stack_arguments);

}  // namespace standin::game
