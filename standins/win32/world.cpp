// The process-wide record of the simulated Windows, its reset and the settings tests make.
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

std::mutex world_mutex;

RECT DefaultWorkArea(int screen_width, int screen_height) {
  return RECT{0, 0, screen_width, screen_height - kTaskBarHeight};
}

// A freshly booted machine; handle values continue from `next_handle` so that no handle of an
// earlier world is valid in the new one.
World FreshWorld(uintptr_t next_handle) {
  World world;
  world.next_handle = next_handle;
  world.affinity_mask = SystemAffinityMask(world);
  world.work_area = DefaultWorkArea(world.screen_width, world.screen_height);
  world.cursor = POINT{world.screen_width / 2, world.screen_height / 2};
  AddSystemModules(world);
  AddStockObjects(world);
  return world;
}

}  // namespace

World& TheWorld() {
  // Built on first use: the plug-in's static initialisers already ask for the processor count.
  static World world = FreshWorld(0x10000);
  return world;
}

std::unique_lock<std::mutex> LockWorld() {
  TheWorld();  // built before the lock is first taken, since building it takes no lock
  return std::unique_lock<std::mutex>(world_mutex);
}

std::string LowerCase(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

void Fatal(const char* message) {
  std::fprintf(stderr, "win32 stand-in: %s\n", message);
  std::abort();
}

void ResetWorld() {
  RemoveExceptionHandlers();
  auto lock = LockWorld();
  World& world = TheWorld();
  world = FreshWorld(world.next_handle);
}

void SetProcessorCount(DWORD count) {
  auto lock = LockWorld();
  World& world = TheWorld();
  world.processor_count = count;
  world.affinity_mask = SystemAffinityMask(world);
}

void SetScreenSize(int width, int height) {
  auto lock = LockWorld();
  World& world = TheWorld();
  world.screen_width = width;
  world.screen_height = height;
  world.work_area = DefaultWorkArea(width, height);
}

void SetWorkArea(const RECT& area) {
  auto lock = LockWorld();
  TheWorld().work_area = area;
}

void SetKeyDown(int virtual_key, bool down) {
  auto lock = LockWorld();
  TheWorld().keys_down[virtual_key & 0xFF] = down ? 1 : 0;
}

void SetCursorPositionFails(bool fails) {
  auto lock = LockWorld();
  TheWorld().cursor_position_fails = fails;
}

void SetSleepScale(int percent) {
  auto lock = LockWorld();
  TheWorld().sleep_percent = percent;
}

uint64_t RequestedSleepMilliseconds() {
  auto lock = LockWorld();
  return TheWorld().requested_sleep;
}

}  // namespace qz::win32
