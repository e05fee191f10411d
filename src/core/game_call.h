#pragma once
// Calling the game's code at its fixed addresses in the game's own conventions.
#include <cstdint>

namespace qz::core {

// The game's object methods take the object in ECX and remove their stack arguments. gcc only
// knows this convention on class methods and says so under -Wpedantic, but honours it on plain
// function pointers, which is what calling into the game needs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
template <typename Result, typename... Arguments>
using ThisCall = Result(__attribute__((thiscall)) *)(void* object, Arguments...);
#pragma GCC diagnostic pop

// Routines of the plug-in that the game calls as its object methods are declared between
// QZ_GAME_METHODS_BEGIN and QZ_GAME_METHODS_END with QZ_THISCALL; their definitions inherit the
// convention from the declaration.
#define QZ_GAME_METHODS_BEGIN \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wattributes\"")
#define QZ_GAME_METHODS_END _Pragma("GCC diagnostic pop")
#define QZ_THISCALL __attribute__((thiscall))

// The routine at a game address, or any other code address, as a typed pointer.
template <typename Routine>
Routine At(uint32_t address) {
  return reinterpret_cast<Routine>(static_cast<uintptr_t>(address));
}

template <typename Routine>
Routine At(const void* address) {
  return reinterpret_cast<Routine>(const_cast<void*>(address));
}

// A variable of the game at its fixed address.
template <typename Value>
Value& Cell(uint32_t address) {
  return *reinterpret_cast<Value*>(uintptr_t{address});
}

// A routine of the plug-in as the code address handed to the patching library.
template <typename Routine>
const void* CodeAddress(Routine routine) {
  return reinterpret_cast<const void*>(routine);
}

}  // namespace qz::core
