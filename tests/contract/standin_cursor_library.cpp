// The stand-in build's disk: cursors.dll in the current directory, with the resources the
// Windows build links into the real library.
#include <gtest/gtest.h>

#include "cursor_library/cursor_library.h"
#include "win32/win32_world.h"

namespace qz::contract {
namespace {

class CursorLibraryOnDisk : public ::testing::Environment {
 public:
  void SetUp() override {
    std::vector<win32::ModuleResource> resources;
    for (LibraryResource& resource : CursorLibraryResources()) {
      resources.push_back({resource.type, resource.identifier, std::move(resource.data)});
    }
    win32::RegisterLibraryFile(win32::kDefaultCurrentDirectory, kCursorLibraryName, resources);
  }
};

[[maybe_unused]] ::testing::Environment* const kCursorLibrary =
    ::testing::AddGlobalTestEnvironment(new CursorLibraryOnDisk);

}  // namespace
}  // namespace qz::contract
