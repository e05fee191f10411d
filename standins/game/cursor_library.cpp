#include "game/cursor_library.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "game/x86_code.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace standin::host {
namespace {

constexpr int32_t kSize = 32;
constexpr uint16_t kAnimatedIdentifier = 700;
constexpr uint16_t kDefaultIdentifier = 500;
constexpr WORD kCursorType = 1;
constexpr WORD kCursorGroupType = 12;
constexpr WORD kAnimatedCursorType = 21;

std::string common_directory;

template <typename Value>
void Put(std::vector<uint8_t>& bytes, Value value) {
  const size_t at = bytes.size();
  bytes.resize(at + sizeof(Value));
  std::memcpy(bytes.data() + at, &value, sizeof(Value));
}

void PutTag(std::vector<uint8_t>& bytes, const char* tag) {
  bytes.insert(bytes.end(), tag, tag + 4);
}

// A 32 x 32 DIB of one colour over an all-clear AND mask, as cursor images store it: a header
// of twice the height, the colours, then the mask.
std::vector<uint8_t> Image(uint32_t colour) {
  std::vector<uint8_t> bytes;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = kSize;
  header.biHeight = 2 * kSize;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  Put(bytes, header);
  for (int32_t pixel = 0; pixel < kSize * kSize; ++pixel) Put(bytes, colour);
  bytes.resize(bytes.size() + kSize * kSize / 8, 0);
  return bytes;
}

// RT_CURSOR: the hot spot, then the image.
std::vector<uint8_t> CursorImage(uint16_t identifier) {
  std::vector<uint8_t> bytes;
  Put(bytes, static_cast<WORD>(ResourceCursorHotX(identifier)));
  Put(bytes, static_cast<WORD>(ResourceCursorHotY(identifier)));
  const std::vector<uint8_t> image = Image(ResourceCursorColour(identifier));
  bytes.insert(bytes.end(), image.begin(), image.end());
  return bytes;
}

// RT_GROUP_CURSOR with one entry, naming the RT_CURSOR of the same identifier.
std::vector<uint8_t> CursorGroup(uint16_t identifier, DWORD image_size) {
  std::vector<uint8_t> bytes;
  Put(bytes, WORD{0});
  Put(bytes, WORD{2});
  Put(bytes, WORD{1});
  Put(bytes, static_cast<WORD>(kSize));
  Put(bytes, static_cast<WORD>(2 * kSize));
  Put(bytes, WORD{1});
  Put(bytes, WORD{32});
  Put(bytes, image_size);
  Put(bytes, identifier);
  return bytes;
}

// A cursor file: its directory with one entry, then the image.
std::vector<uint8_t> CursorFile(uint32_t colour) {
  const std::vector<uint8_t> image = Image(colour);
  std::vector<uint8_t> bytes;
  Put(bytes, WORD{0});
  Put(bytes, WORD{2});
  Put(bytes, WORD{1});
  Put(bytes, static_cast<uint8_t>(kSize));
  Put(bytes, static_cast<uint8_t>(kSize));
  Put(bytes, uint8_t{0});
  Put(bytes, uint8_t{0});
  Put(bytes, WORD{kSize / 2});
  Put(bytes, WORD{kSize / 2});
  Put(bytes, static_cast<DWORD>(image.size()));
  Put(bytes, DWORD{22});
  bytes.insert(bytes.end(), image.begin(), image.end());
  return bytes;
}

// RIFF "ACON": the "anih" header (frames are cursor files, 10 jiffies each), then the frames.
std::vector<uint8_t> AnimatedCursor() {
  std::vector<uint8_t> frames;
  PutTag(frames, "fram");
  for (int32_t frame = 0; frame < kAnimatedCursorFrames; ++frame) {
    const std::vector<uint8_t> file = CursorFile(AnimatedCursorColour(frame));
    PutTag(frames, "icon");
    Put(frames, static_cast<DWORD>(file.size()));
    frames.insert(frames.end(), file.begin(), file.end());
  }
  std::vector<uint8_t> bytes;
  PutTag(bytes, "RIFF");
  Put(bytes, DWORD{0});
  PutTag(bytes, "ACON");
  PutTag(bytes, "anih");
  Put(bytes, DWORD{36});
  const DWORD header[] = {36, kAnimatedCursorFrames, kAnimatedCursorFrames, 0, 0, 0, 0, 10, 1};
  for (DWORD word : header) Put(bytes, word);
  PutTag(bytes, "LIST");
  Put(bytes, static_cast<DWORD>(frames.size()));
  bytes.insert(bytes.end(), frames.begin(), frames.end());
  const auto riff_size = static_cast<DWORD>(bytes.size() - 8);
  std::memcpy(bytes.data() + 4, &riff_size, 4);
  return bytes;
}

}  // namespace

void InstallCursorLibrary(const std::string& directory, const std::vector<uint16_t>& left_out) {
  std::vector<uint16_t> identifiers;
  for (uint16_t identifier = 100; identifier < 400; ++identifier) identifiers.push_back(identifier);
  identifiers.push_back(kDefaultIdentifier);
  std::vector<qz::win32::ModuleResource> resources;
  for (uint16_t identifier : identifiers) {
    if (std::find(left_out.begin(), left_out.end(), identifier) != left_out.end()) continue;
    std::vector<uint8_t> image = CursorImage(identifier);
    resources.push_back(
        {kCursorGroupType, identifier, CursorGroup(identifier, static_cast<DWORD>(image.size()))});
    resources.push_back({kCursorType, identifier, std::move(image)});
  }
  resources.push_back({kAnimatedCursorType, kAnimatedIdentifier, AnimatedCursor()});
  qz::win32::RegisterLibraryFile(directory, "cursors.dll", resources);
  common_directory = directory;
  splicer::Publish("QZ.Dir.Common", static_cast<int32_t>(Address(common_directory.c_str())));
}

uint32_t ResourceCursorColour(uint16_t identifier) {
  return 0xFF000000u | identifier;
}

uint32_t AnimatedCursorColour(int32_t frame) {
  return 0xFF000000u | static_cast<uint32_t>(kAnimatedIdentifier) << 8 |
         static_cast<uint32_t>(frame);
}

int32_t ResourceCursorHotX(uint16_t identifier) {
  return identifier % kSize;
}

int32_t ResourceCursorHotY(uint16_t identifier) {
  return identifier / kSize % kSize;
}

}  // namespace standin::host
