// Writes the cursor library's resources into a folder, one file each, and the resource script
// that names them, for windres. Usage: make_cursor_library FOLDER
#include <cstdio>
#include <fstream>
#include <string>

#include "cursor_library/cursor_library.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_cursor_library FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::ofstream script(folder + "/cursors.rc");
  for (const qz::contract::LibraryResource& resource : qz::contract::CursorLibraryResources()) {
    const std::string name =
        "resource_" + std::to_string(resource.type) + "_" + std::to_string(resource.identifier);
    std::ofstream(folder + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(resource.data.data()),
               static_cast<std::streamsize>(resource.data.size()));
    // Numbered types keep the bytes exactly as written, whatever windres would make of a file.
    script << resource.identifier << ' ' << resource.type << " \"" << folder << '/' << name
           << "\"\n";
  }
  return script.good() ? 0 : 1;
}
