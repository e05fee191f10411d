// Resources of loaded libraries, found by number: FindResourceA, LoadResource, LockResource and
// SizeofResource.
#include "win32/world_state.h"

namespace qz::win32 {
namespace {

// The bytes behind a found resource while its module is loaded, else null (error set).
const std::vector<uint8_t>* ResourceData(World& world, HMODULE module, HRSRC handle) {
  const auto found = world.found_resources.find(handle);
  if (found == world.found_resources.end() || found->second.module != module) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  Module* owner = LoadedModule(world, module);
  if (owner == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const auto data = owner->resources.find({found->second.type, found->second.identifier});
  if (data == owner->resources.end()) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return &data->second;
}

}  // namespace
}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

// Numbered names and types only; the process image itself (a null module) has no resources
// here. Finding the same resource again gives the same handle, as on Windows.
HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
  auto lock = LockWorld();
  World& world = TheWorld();
  Module* module = hModule != nullptr ? LoadedModule(world, hModule) : nullptr;
  if (hModule != nullptr && module == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (module == nullptr || !IS_INTRESOURCE(lpType) || !IS_INTRESOURCE(lpName)) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  const auto type = static_cast<WORD>(reinterpret_cast<uintptr_t>(lpType));
  const auto identifier = static_cast<WORD>(reinterpret_cast<uintptr_t>(lpName));
  if (module->resources.count({type, identifier}) == 0) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  for (const auto& [handle, resource] : world.found_resources) {
    if (resource.module == hModule && resource.type == type && resource.identifier == identifier) {
      return handle;
    }
  }
  const HRSRC handle = NewHandle<HRSRC>(world);
  world.found_resources[handle] = FoundResource{hModule, type, identifier};
  return handle;
}

// On 32-bit Windows the loaded resource is the address of its bytes in the mapped module.
HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  auto lock = LockWorld();
  const std::vector<uint8_t>* data = ResourceData(TheWorld(), hModule, hResInfo);
  return data == nullptr ? nullptr : const_cast<uint8_t*>(data->data());
}

LPVOID WINAPI LockResource(HGLOBAL hResData) {
  return hResData;
}

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  auto lock = LockWorld();
  const std::vector<uint8_t>* data = ResourceData(TheWorld(), hModule, hResInfo);
  return data == nullptr ? 0 : static_cast<DWORD>(data->size());
}

}  // extern "C"
