#pragma once
// The game calling code: arguments on a stack aligned to 4 bytes only (its old code keeps no
// more), the object or first arguments in ECX and EDX where the convention wants them.
#include <cstdint>
#include <vector>

namespace standin::game {

uint32_t CallGame(uint32_t target, const std::vector<uint32_t>& stack_arguments, uint32_t ecx = 0,
                  uint32_t edx = 0);

template <typename Pointer>
uint32_t Word(Pointer pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

// A method of an object that carries its table behind its first word, called as the game calls
// COM methods: the object first on the stack.
uint32_t CallMethod(void* object, int slot, std::vector<uint32_t> arguments);

}  // namespace standin::game
