// Directories that exist and the process's current directory.
#include <algorithm>
#include <cstring>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

bool IsAbsolute(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// Backslashes, and no separator at the end unless the path is a drive's root ("C:\").
std::string Tidy(const std::string& path) {
  std::string tidy = path;
  std::replace(tidy.begin(), tidy.end(), '/', '\\');
  while (tidy.size() > 3 && tidy.back() == '\\') tidy.pop_back();
  return tidy;
}

}  // namespace

std::string DirectoryKey(const std::string& path) {
  return LowerCase(Tidy(path));
}

bool DirectoryExists(const World& world, const std::string& key) {
  if (key == DirectoryKey(kDefaultCurrentDirectory)) return true;
  // Drive roots always exist.
  if (key.size() == 3 && key[1] == ':') return true;
  return std::find(world.directories.begin(), world.directories.end(), key) !=
         world.directories.end();
}

void AddDirectory(const std::string& path) {
  auto lock = LockWorld();
  World& world = TheWorld();
  const std::string key = DirectoryKey(path);
  if (!DirectoryExists(world, key)) world.directories.push_back(key);
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

// The length without the terminator when the buffer holds the path, else the size it needs.
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  auto lock = LockWorld();
  const std::string& current = TheWorld().current_directory;
  const auto length = static_cast<DWORD>(current.size());
  if (lpBuffer == nullptr || nBufferLength <= length) return length + 1;
  std::memcpy(lpBuffer, current.c_str(), current.size() + 1);
  return length;
}

// Relative paths are taken from the current directory; the directory must exist.
BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
  if (lpPathName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto lock = LockWorld();
  World& world = TheWorld();
  std::string path = lpPathName;
  if (!IsAbsolute(path)) path = world.current_directory + "\\" + path;
  path = Tidy(path);
  if (path.size() >= MAX_PATH - 1) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
  }
  if (!DirectoryExists(world, DirectoryKey(path))) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  world.current_directory = path;
  return TRUE;
}

}  // extern "C"
