#include "pe_loader/pe_loader.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <vector>

#include "pe_loader/import_binding.h"
#include "pe_loader/thread_blocks.h"
#include "win32/runtime_functions.h"
#include "win32/win32_world.h"

namespace standin::pe {
namespace {

using EntryPoint = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
using TlsCallback = void(WINAPI*)(PVOID, DWORD, PVOID);

struct LoadedImage {
  MappedImage image;
  EntryPoint entry = nullptr;
  std::vector<TlsCallback> tls_callbacks;
};

std::mutex images_mutex;
std::vector<std::shared_ptr<LoadedImage>> images;  // in load order

std::vector<std::shared_ptr<LoadedImage>> Snapshot() {
  std::lock_guard lock(images_mutex);
  return images;
}

// TLS callbacks first, then the entry point, for attach and detach alike.
BOOL Notify(const LoadedImage& loaded, DWORD reason, LPVOID reserved) {
  auto* instance = reinterpret_cast<HINSTANCE>(loaded.image.base);
  for (TlsCallback callback : loaded.tls_callbacks) callback(instance, reason, reserved);
  return loaded.entry == nullptr ? TRUE : loaded.entry(instance, reason, reserved);
}

void OnThreadEnters() {
  if (!EnterThreadBlock()) return;
  for (const auto& loaded : Snapshot()) Notify(*loaded, kDllThreadAttach, nullptr);
}

void OnThreadLeaves() {
  const auto loaded_images = Snapshot();
  for (auto it = loaded_images.rbegin(); it != loaded_images.rend(); ++it) {
    Notify(**it, kDllThreadDetach, nullptr);
  }
  LeaveThreadBlock();
}

// Process exit: the last loaded detaches first; a non-null reserved argument says the process
// is ending.
void DetachAtExit() {
  EnterThreadBlock();
  const auto loaded_images = Snapshot();
  for (auto it = loaded_images.rbegin(); it != loaded_images.rend(); ++it) {
    Notify(**it, kDllProcessDetach, reinterpret_cast<LPVOID>(1));
  }
}

std::vector<qz::win32::ModuleExport> ReadExports(const MappedImage& image) {
  std::vector<qz::win32::ModuleExport> exports;
  const DataDirectory directory = image.header->directories[kExportDirectory];
  if (directory.size == 0) return exports;
  const auto* table = image.At<const ExportDirectory>(directory.rva);
  const auto* names = image.At<const uint32_t>(table->names);
  const auto* ordinals = image.At<const uint16_t>(table->name_ordinals);
  const auto* addresses = image.At<const uint32_t>(table->addresses);
  for (uint32_t i = 0; i < table->name_count; ++i) {
    if (ordinals[i] >= table->address_count) continue;
    const uint32_t rva = addresses[ordinals[i]];
    // A forwarder names another library's export; nothing here forwards.
    if (rva >= directory.rva && rva < directory.rva + directory.size) continue;
    exports.push_back({image.At<const char>(names[i]),
                       reinterpret_cast<FARPROC>(reinterpret_cast<uintptr_t>(image.base + rva))});
  }
  return exports;
}

void ReadTls(const MappedImage& image, LoadedImage* loaded) {
  const DataDirectory directory = image.header->directories[kTlsDirectory];
  if (directory.size == 0) return;
  const auto* tls = image.At<const TlsDirectory>(directory.rva);
  const uint32_t index =
      AddModuleTls({tls->raw_data_start, tls->raw_data_end, tls->zero_fill_size, 0});
  *reinterpret_cast<uint32_t*>(static_cast<uintptr_t>(tls->index_address)) = index;
  if (tls->callbacks_address == 0) return;
  for (const auto* callback =
           reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(tls->callbacks_address));
       *callback != 0; ++callback) {
    loaded->tls_callbacks.push_back(
        reinterpret_cast<TlsCallback>(static_cast<uintptr_t>(*callback)));
  }
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

LoadResult LoadDll(const std::string& path, Placement placement) {
  std::ifstream stream(path, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(stream)),
                                  std::istreambuf_iterator<char>());
  LoadResult result;
  if (file.empty()) {
    result.error = path + ": cannot be read";
    return result;
  }
  auto loaded = std::make_shared<LoadedImage>();
  loaded->image = MapImage(file, placement, &result.error);
  MappedImage& image = loaded->image;
  if (image.base == nullptr) return result;
  if (!ApplyRelocations(image, &result.error)) {
    UnmapImage(image);
    return result;
  }
  const std::vector<std::string> unbound = BindImports(image);
  if (!unbound.empty()) {
    result.error = "unbound imports: " + Joined(unbound);
    UnmapImage(image);
    return result;
  }
  ReadTls(image, loaded.get());
  ProtectImage(image);
  if (image.header->entry_point != 0) {
    loaded->entry = reinterpret_cast<EntryPoint>(image.base + image.header->entry_point);
  }

  static std::once_flag process_hooks;
  std::call_once(process_hooks, [] {
    qz::win32::SetThreadObserver({&OnThreadEnters, &OnThreadLeaves});
    std::atexit(&DetachAtExit);
  });
  EnterThreadBlock();
  {
    std::lock_guard lock(images_mutex);
    images.push_back(loaded);
  }
  if (!Notify(*loaded, kDllProcessAttach, nullptr)) {
    result.error = "the entry point refused to attach";
    std::lock_guard lock(images_mutex);
    images.pop_back();
    return result;
  }
  const size_t slash = path.find_last_of("\\/");
  qz::win32::RegisterLoadedImage(slash == std::string::npos ? path : path.substr(slash + 1),
                                 ReadExports(image), reinterpret_cast<HMODULE>(image.base));
  result.module = reinterpret_cast<HMODULE>(image.base);
  return result;
}

uintptr_t PreferredBase(HMODULE module) {
  for (const auto& loaded : Snapshot()) {
    if (reinterpret_cast<HMODULE>(loaded->image.base) == module) {
      return loaded->image.preferred_base;
    }
  }
  return 0;
}

}  // namespace standin::pe
