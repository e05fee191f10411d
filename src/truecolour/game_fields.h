#pragma once
// Fields of the game's objects; the game packs its objects without regard to our alignment.
#include <cstdint>
#include <cstring>

namespace qz::truecolour::game {

template <typename Value>
Value ReadField(const void* object, int offset) {
  Value value;
  std::memcpy(&value, static_cast<const uint8_t*>(object) + offset, sizeof value);
  return value;
}

template <typename Value>
void WriteField(void* object, int offset, Value value) {
  std::memcpy(static_cast<uint8_t*>(object) + offset, &value, sizeof value);
}

}  // namespace qz::truecolour::game
