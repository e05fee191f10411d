#include "pe_loader/import_binding.h"

#include <windows.h>

#include <cstring>

#include "win32/system_exports.h"
#include "win32/world_state.h"

namespace standin::pe {
namespace {

// A system library's export, else an export of a module registered in the world (loading it,
// as the loader would, so its load count shows the DLL's use).
FARPROC Resolve(const std::string& library, const char* name) {
  const std::string key = qz::win32::LowerCase(library);
  bool system_library = false;
  for (const qz::win32::SystemExport& entry : qz::win32::SystemExports()) {
    if (key != entry.library) continue;
    system_library = true;
    if (std::strcmp(entry.name, name) == 0) return entry.address;
  }
  if (system_library) return nullptr;
  const HMODULE module = LoadLibraryA(library.c_str());
  return module == nullptr ? nullptr : GetProcAddress(module, name);
}

}  // namespace

std::vector<std::string> BindImports(const MappedImage& image) {
  std::vector<std::string> unbound;
  const DataDirectory directory = image.header->directories[kImportDirectory];
  if (directory.size == 0) return unbound;
  for (auto* descriptor = image.At<const ImportDescriptor>(directory.rva);
       descriptor->name != 0 && image.Holds(descriptor->name, 1); ++descriptor) {
    const std::string library = image.At<const char>(descriptor->name);
    const uint32_t names =
        descriptor->name_table != 0 ? descriptor->name_table : descriptor->address_table;
    auto* slots = image.At<uint32_t>(descriptor->address_table);
    const auto* thunks = image.At<const uint32_t>(names);
    for (int i = 0; thunks[i] != 0; ++i) {
      if ((thunks[i] & kImportByOrdinal) != 0) {
        unbound.push_back(library + "!#" + std::to_string(thunks[i] & 0xFFFF));
        continue;
      }
      // A hint word, then the name.
      const char* name = image.At<const char>(thunks[i] + 2);
      const FARPROC address = Resolve(library, name);
      if (address == nullptr) {
        unbound.push_back(library + "!" + name);
        continue;
      }
      slots[i] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
    }
  }
  return unbound;
}

}  // namespace standin::pe
