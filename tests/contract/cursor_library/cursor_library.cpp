#include "cursor_library/cursor_library.h"

#include <cstring>
#include <string>

namespace qz::contract {
namespace {

constexpr uint32_t kOpaque = 0xFF000000;

// A colour that tells the cursors apart: the identifier spread over the three channels.
uint32_t NamingColour(uint32_t seed) {
  return kOpaque | ((seed * 2654435761u) >> 8 & 0x00FFFFFF);
}

LibraryPicture Picture(uint32_t seed) {
  LibraryPicture picture{std::vector<uint32_t>(kCursorSize * kCursorSize, 0u), seed % 29,
                         seed % 31};
  for (int32_t y = 0; y < kCursorSize; ++y) {
    for (int32_t x = 0; x < kCursorSize; ++x) {
      if (x < kCursorSize / 2 || y < kCursorSize / 4) {
        picture.pixels[static_cast<size_t>(y) * kCursorSize + x] = NamingColour(seed);
      }
    }
  }
  return picture;
}

template <typename Value>
void Put(std::vector<uint8_t>& bytes, Value value) {
  uint8_t raw[sizeof(Value)];
  std::memcpy(raw, &value, sizeof raw);
  bytes.insert(bytes.end(), raw, raw + sizeof raw);
}

void PutTag(std::vector<uint8_t>& bytes, const char* tag) {
  bytes.insert(bytes.end(), tag, tag + 4);
}

// The image of a cursor resource or cursor file: a 32-bit DIB of twice the height holding the
// colours and then the AND mask (1 where the screen shows through), both bottom row first.
std::vector<uint8_t> DibImage(const LibraryPicture& picture) {
  std::vector<uint8_t> bytes;
  Put<uint32_t>(bytes, 40);          // biSize
  Put<int32_t>(bytes, kCursorSize);  // biWidth
  Put<int32_t>(bytes, 2 * kCursorSize);
  Put<uint16_t>(bytes, 1);   // biPlanes
  Put<uint16_t>(bytes, 32);  // biBitCount
  for (int field = 0; field < 6; ++field) Put<uint32_t>(bytes, 0);
  for (int32_t y = kCursorSize - 1; y >= 0; --y) {
    for (int32_t x = 0; x < kCursorSize; ++x) {
      Put<uint32_t>(bytes, picture.pixels[static_cast<size_t>(y) * kCursorSize + x]);
    }
  }
  constexpr int32_t kMaskStride = (kCursorSize + 31) / 32 * 4;
  for (int32_t y = kCursorSize - 1; y >= 0; --y) {
    uint8_t row[kMaskStride]{};
    for (int32_t x = 0; x < kCursorSize; ++x) {
      if (picture.pixels[static_cast<size_t>(y) * kCursorSize + x] >> 24 == 0) {
        row[x / 8] = static_cast<uint8_t>(row[x / 8] | 0x80 >> (x % 8));
      }
    }
    bytes.insert(bytes.end(), row, row + kMaskStride);
  }
  return bytes;
}

std::vector<uint8_t> CursorImageResource(const LibraryPicture& picture) {
  std::vector<uint8_t> bytes;
  Put<uint16_t>(bytes, static_cast<uint16_t>(picture.hot_x));
  Put<uint16_t>(bytes, static_cast<uint16_t>(picture.hot_y));
  const std::vector<uint8_t> image = DibImage(picture);
  bytes.insert(bytes.end(), image.begin(), image.end());
  return bytes;
}

// A group of one cursor image: its directory entry names the image resource.
std::vector<uint8_t> CursorGroupResource(uint16_t image_identifier, uint32_t image_bytes) {
  std::vector<uint8_t> bytes;
  Put<uint16_t>(bytes, 0);  // reserved
  Put<uint16_t>(bytes, 2);  // cursors
  Put<uint16_t>(bytes, 1);  // entries
  Put<uint16_t>(bytes, kCursorSize);
  Put<uint16_t>(bytes, 2 * kCursorSize);  // colour and mask halves
  Put<uint16_t>(bytes, 1);                // planes
  Put<uint16_t>(bytes, 32);               // bits per pixel
  Put<uint32_t>(bytes, image_bytes);
  Put<uint16_t>(bytes, image_identifier);
  return bytes;
}

// A cursor file (.cur) of one image, as the frames of an animated cursor hold them.
std::vector<uint8_t> CursorFile(const LibraryPicture& picture) {
  const std::vector<uint8_t> image = DibImage(picture);
  std::vector<uint8_t> bytes;
  Put<uint16_t>(bytes, 0);
  Put<uint16_t>(bytes, 2);
  Put<uint16_t>(bytes, 1);
  Put<uint8_t>(bytes, kCursorSize);
  Put<uint8_t>(bytes, kCursorSize);
  Put<uint8_t>(bytes, 0);  // colour count
  Put<uint8_t>(bytes, 0);
  Put<uint16_t>(bytes, static_cast<uint16_t>(picture.hot_x));
  Put<uint16_t>(bytes, static_cast<uint16_t>(picture.hot_y));
  Put<uint32_t>(bytes, static_cast<uint32_t>(image.size()));
  Put<uint32_t>(bytes, 22);  // the image follows the 6-byte header and the 16-byte entry
  bytes.insert(bytes.end(), image.begin(), image.end());
  return bytes;
}

void PutChunk(std::vector<uint8_t>& bytes, const char* tag, const std::vector<uint8_t>& body) {
  PutTag(bytes, tag);
  Put<uint32_t>(bytes, static_cast<uint32_t>(body.size()));
  bytes.insert(bytes.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) bytes.push_back(0);
}

// RIFF "ACON": the "anih" header and a "LIST" "fram" of one cursor file a frame.
std::vector<uint8_t> AnimatedCursorResource() {
  std::vector<uint8_t> header;
  Put<uint32_t>(header, 36);  // cbSize
  Put<uint32_t>(header, kAnimatedFrames);
  Put<uint32_t>(header, kAnimatedFrames);  // steps
  Put<uint32_t>(header, 0);                // width and height: taken from the frames
  Put<uint32_t>(header, 0);
  Put<uint32_t>(header, 0);  // bit count and planes: likewise
  Put<uint32_t>(header, 0);
  Put<uint32_t>(header, 10);  // jiffies a frame
  Put<uint32_t>(header, 1);   // the frames are cursor files
  std::vector<uint8_t> frames;
  PutTag(frames, "fram");
  for (int32_t frame = 0; frame < kAnimatedFrames; ++frame) {
    PutChunk(frames, "icon", CursorFile(AnimatedFramePicture(frame)));
  }
  std::vector<uint8_t> body;
  PutTag(body, "ACON");
  PutChunk(body, "anih", header);
  PutChunk(body, "LIST", frames);
  std::vector<uint8_t> bytes;
  PutChunk(bytes, "RIFF", body);
  return bytes;
}

}  // namespace

LibraryPicture GroupCursorPicture(uint16_t identifier) {
  return Picture(identifier);
}

LibraryPicture AnimatedFramePicture(int32_t frame) {
  return Picture(static_cast<uint32_t>(kAnimatedCursor * 10 + frame));
}

std::vector<LibraryResource> CursorLibraryResources() {
  std::vector<LibraryResource> resources;
  uint16_t image_identifier = 1;
  auto add_group = [&](uint16_t identifier) {
    std::vector<uint8_t> image = CursorImageResource(GroupCursorPicture(identifier));
    const auto image_bytes = static_cast<uint32_t>(image.size());
    resources.push_back({kCursorImageType, image_identifier, std::move(image)});
    resources.push_back(
        {kCursorGroupType, identifier, CursorGroupResource(image_identifier, image_bytes)});
    ++image_identifier;
  };
  for (uint16_t identifier = kFirstGroupCursor; identifier <= kLastGroupCursor; ++identifier) {
    add_group(identifier);
  }
  add_group(kDefaultCursor);
  resources.push_back({kAnimatedCursorType, kAnimatedCursor, AnimatedCursorResource()});
  return resources;
}

}  // namespace qz::contract
