// Modules: libraries "on disk" that tests and other stand-ins register, found by name the way
// the loader finds them, with load counts; ntdll.dll is always in the process.
#include "win32/world_state.h"

namespace qz::win32 {
namespace {

constexpr const char* kNtdll = "ntdll.dll";
constexpr const char* kWineVersion = "wine_get_version";

// The loader's reading of a name: the file name without its directory, any case, ".dll" when
// no extension is given, and a trailing dot meaning "no extension".
std::string ModuleKey(const char* name) {
  std::string key = LowerCase(name);
  const size_t slash = key.find_last_of("\\/");
  if (slash != std::string::npos) key.erase(0, slash + 1);
  if (!key.empty() && key.back() == '.') {
    key.pop_back();
  } else if (key.find('.') == std::string::npos) {
    key += ".dll";
  }
  return key;
}

// A library in a directory of its own is found through a path naming that directory, or by its
// bare name from that directory as the current one.
bool FoundFrom(const World& world, const Module& module, const char* name) {
  if (module.directory.empty()) return true;
  std::string path = name;
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return DirectoryKey(world.current_directory) == module.directory;
  path.erase(slash);
  return DirectoryKey(path) == module.directory;
}

}  // namespace

Module* LoadedModule(World& world, HMODULE handle) {
  for (auto& [key, module] : world.modules) {
    if (module.handle == handle && module.load_count > 0) return &module;
  }
  return nullptr;
}

namespace {

void WINAPI RtlGetNtVersionNumbers(DWORD* major, DWORD* minor, DWORD* build) {
  auto lock = LockWorld();
  const World& world = TheWorld();
  if (major != nullptr) *major = world.nt_major;
  if (minor != nullptr) *minor = world.nt_minor;
  // The top bits mark a retail build, as on a real system.
  if (build != nullptr) *build = world.nt_build | 0xF0000000;
}

const char* WineGetVersion() {
  return "9.0";
}

Module& AddModule(World& world, const std::string& name, const std::vector<ModuleExport>& exports,
                  int load_count) {
  Module module;
  module.name = ModuleKey(name.c_str());
  for (const ModuleExport& entry : exports) module.exports[entry.name] = entry.address;
  module.handle = NewHandle<HMODULE>(world);
  module.load_count = load_count;
  Module& added = world.modules[module.name];
  added = module;
  return added;
}

}  // namespace

void AddSystemModules(World& world) {
  AddModule(world, kNtdll, {{"RtlGetNtVersionNumbers", AsExport(&RtlGetNtVersionNumbers)}}, 1);
}

void SetNtVersion(DWORD major, DWORD minor, DWORD build) {
  auto lock = LockWorld();
  World& world = TheWorld();
  world.nt_major = major;
  world.nt_minor = minor;
  world.nt_build = build;
}

void SetEmulatorExports(bool present) {
  auto lock = LockWorld();
  Module& ntdll = TheWorld().modules[kNtdll];
  if (present) {
    ntdll.exports[kWineVersion] = AsExport(&WineGetVersion);
  } else {
    ntdll.exports.erase(kWineVersion);
  }
}

void RegisterModule(const std::string& name, const std::vector<ModuleExport>& exports,
                    bool already_loaded) {
  auto lock = LockWorld();
  AddModule(TheWorld(), name, exports, already_loaded ? 1 : 0);
}

void RegisterLoadedImage(const std::string& name, const std::vector<ModuleExport>& exports,
                         HMODULE base) {
  auto lock = LockWorld();
  AddModule(TheWorld(), name, exports, 1).handle = base;
}

void RegisterLibraryFile(const std::string& directory, const std::string& name,
                         const std::vector<ModuleResource>& resources) {
  auto lock = LockWorld();
  World& world = TheWorld();
  Module& module = AddModule(world, name, {}, 0);
  module.directory = DirectoryKey(directory);
  for (const ModuleResource& resource : resources) {
    module.resources[{resource.type, resource.identifier}] = resource.data;
  }
  if (!DirectoryExists(world, module.directory)) world.directories.push_back(module.directory);
}

void UnregisterModule(const std::string& name) {
  auto lock = LockWorld();
  TheWorld().modules.erase(ModuleKey(name.c_str()));
}

int ModuleLoadCount(const std::string& name) {
  auto lock = LockWorld();
  const auto found = TheWorld().modules.find(ModuleKey(name.c_str()));
  return found == TheWorld().modules.end() ? 0 : found->second.load_count;
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  auto lock = LockWorld();
  // The process image itself is not modelled; its handle would be the game's own.
  if (lpModuleName != nullptr) {
    const auto found = TheWorld().modules.find(ModuleKey(lpModuleName));
    if (found != TheWorld().modules.end() && found->second.load_count > 0) {
      return found->second.handle;
    }
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
  auto lock = LockWorld();
  if (lpLibFileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto found = TheWorld().modules.find(ModuleKey(lpLibFileName));
  if (found == TheWorld().modules.end() ||
      (found->second.load_count == 0 && !FoundFrom(TheWorld(), found->second, lpLibFileName))) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++found->second.load_count;
  return found->second.handle;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  auto lock = LockWorld();
  const Module* module = LoadedModule(TheWorld(), hModule);
  if (module == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // A name whose pointer fits in 16 bits is an ordinal; no module here exports by ordinal.
  if (reinterpret_cast<uintptr_t>(lpProcName) > 0xFFFF) {
    const auto found = module->exports.find(lpProcName);
    if (found != module->exports.end()) return found->second;
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  auto lock = LockWorld();
  Module* module = LoadedModule(TheWorld(), hLibModule);
  if (module == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  // The process's own reference to ntdll.dll is never given up.
  if (module->name != kNtdll || module->load_count > 1) --module->load_count;
  return TRUE;
}

}  // extern "C"
