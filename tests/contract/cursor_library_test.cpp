// The cursor library as the plug-in loads it: cursor groups through LoadCursorA by the
// identifiers of the default and the older systems' cursors, and the animated cursor found as a
// resource and made with CreateIconFromResourceEx.
#include "cursor_library/cursor_library.h"

#include <gtest/gtest.h>

#include "win32_contract.h"

namespace qz::contract {
namespace {

HMODULE CursorLibrary() {
  static const HMODULE library = LoadLibraryA(kCursorLibraryName);
  return library;
}

::testing::AssertionResult ShowsLibraryPicture(const IconPicture& icon,
                                               const LibraryPicture& expected) {
  if (!icon.valid) return ::testing::AssertionFailure() << "no picture";
  if (icon.is_icon) return ::testing::AssertionFailure() << "an icon, not a cursor";
  if (icon.colour.width != kCursorSize || icon.colour.height != kCursorSize) {
    return ::testing::AssertionFailure()
           << "size " << icon.colour.width << " x " << icon.colour.height;
  }
  if (icon.hot_x != expected.hot_x || icon.hot_y != expected.hot_y) {
    return ::testing::AssertionFailure() << "hot spot " << icon.hot_x << "," << icon.hot_y;
  }
  for (int y = 0; y < kCursorSize; ++y) {
    for (int x = 0; x < kCursorSize; ++x) {
      const uint32_t pixel = expected.pixels[static_cast<size_t>(y) * kCursorSize + x];
      if (icon.colour.At(x, y) != pixel) {
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << std::hex << " is "
                                             << icon.colour.At(x, y) << " instead of " << pixel;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(ContractCursorLibrary, LoadCursorAFindsEveryIdentifierThePlugInAsksFor) {
  ASSERT_NE(CursorLibrary(), nullptr);
  for (const uint16_t identifier : {kDefaultCursor, uint16_t{100}, uint16_t{199}, uint16_t{200},
                                    uint16_t{250}, uint16_t{300}, kLastGroupCursor}) {
    const HCURSOR cursor = LoadCursorA(CursorLibrary(), MAKEINTRESOURCEA(identifier));
    ASSERT_NE(cursor, nullptr) << identifier;
    EXPECT_TRUE(ShowsLibraryPicture(ReadIcon(cursor), GroupCursorPicture(identifier)))
        << identifier;
  }
}

TEST(ContractCursorLibrary, LoadCursorAGivesTheSameSharedCursorAgain) {
  ASSERT_NE(CursorLibrary(), nullptr);
  const HCURSOR first = LoadCursorA(CursorLibrary(), MAKEINTRESOURCEA(kDefaultCursor));
  EXPECT_EQ(LoadCursorA(CursorLibrary(), MAKEINTRESOURCEA(kDefaultCursor)), first);
}

TEST(ContractCursorLibrary, IdentifiersBeyondTheLibraryLoadNothing) {
  ASSERT_NE(CursorLibrary(), nullptr);
  EXPECT_EQ(LoadCursorA(CursorLibrary(), MAKEINTRESOURCEA(kLastGroupCursor + 1)), nullptr);
  EXPECT_EQ(LoadCursorA(CursorLibrary(), MAKEINTRESOURCEA(kFirstGroupCursor - 1)), nullptr);
}

TEST(ContractCursorLibrary, AnimatedCursorResourceBecomesACursorOfItsFirstFrame) {
  ASSERT_NE(CursorLibrary(), nullptr);
  const HRSRC found =
      FindResourceA(CursorLibrary(), MAKEINTRESOURCEA(kAnimatedCursor), RT_ANICURSOR);
  ASSERT_NE(found, nullptr);
  const DWORD size = SizeofResource(CursorLibrary(), found);
  const HGLOBAL loaded = LoadResource(CursorLibrary(), found);
  ASSERT_NE(loaded, nullptr);
  auto* bits = static_cast<BYTE*>(LockResource(loaded));
  ASSERT_NE(bits, nullptr);
  for (const LibraryResource& resource : CursorLibraryResources()) {
    if (resource.type != kAnimatedCursorType) continue;
    ASSERT_EQ(size, resource.data.size());
    EXPECT_TRUE(std::equal(resource.data.begin(), resource.data.end(), bits));
  }
  const HCURSOR cursor = CreateIconFromResourceEx(bits, size, FALSE, 0x00030000, 32, 32, 0);
  ASSERT_NE(cursor, nullptr);
  EXPECT_TRUE(ShowsLibraryPicture(ReadIcon(cursor), AnimatedFramePicture(0)));
  SetCursor(cursor);
  EXPECT_EQ(GetCursor(), cursor);
  SetCursor(nullptr);
}

TEST(ContractCursorLibrary, NoAnimatedCursorUnderOtherTypesOrIdentifiers) {
  ASSERT_NE(CursorLibrary(), nullptr);
  EXPECT_EQ(FindResourceA(CursorLibrary(), MAKEINTRESOURCEA(kAnimatedCursor), RT_GROUP_CURSOR),
            nullptr);
  EXPECT_EQ(FindResourceA(CursorLibrary(), MAKEINTRESOURCEA(kAnimatedCursor + 1), RT_ANICURSOR),
            nullptr);
}

}  // namespace
}  // namespace qz::contract
