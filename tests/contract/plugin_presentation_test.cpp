// The plug-in's own Win32 routines of the presentation, run against whatever Windows the suite
// is built for: the image records, the transfer of a picture area to the window, the one-to-one
// copy, and the paint of the window with its black borders.
#include <gtest/gtest.h>

#include "core/settings.h"
#include "present/image_buffer.h"
#include "present/present_routines.h"
#include "present/presentation.h"
#include "present/window_procedure.h"
#include "win32_contract.h"

namespace qz::contract {
namespace {

constexpr uint32_t kGround = 0x00102030;

// The plug-in's globals for one picture; the images live with the test.
class ContractPresentation : public ::testing::Test {
 protected:
  void TearDown() override {
    for (present::ImageBuffer** image : {&present::FrameImage, &present::OutputImage}) {
      if (*image == nullptr) continue;
      DeleteDC((*image)->dc);
      DeleteObject((*image)->bitmap);
      *image = nullptr;
    }
    if (present::WindowDC != nullptr) ReleaseDC(window_, present::WindowDC);
    present::WindowDC = nullptr;
  }

  // A picture of srcW x srcH shown at (x, y) with size width x height in a window's client area.
  void Show(HWND window, int32_t frame_width, int32_t frame_height, int32_t x, int32_t y,
            int32_t width, int32_t height) {
    window_ = window;
    core::srcW = frame_width;
    core::srcH = frame_height;
    core::dstX = x;
    core::dstY = y;
    core::dstW = width;
    core::dstH = height;
    RECT client{};
    GetClientRect(window, &client);
    present::FrameImage = present::CreateDibImage(frame_width + 4, frame_height + 4);
    present::OutputImage = present::CreateDibImage(client.right, client.bottom);
    present::WindowDC = GetDC(window);
    ASSERT_NE(present::FrameImage, nullptr);
    ASSERT_NE(present::OutputImage, nullptr);
    Fill(*present::FrameImage, 0x11);
    Fill(*present::OutputImage, 0x77);
  }

  static void Fill(const present::ImageBuffer& image, uint32_t seed) {
    for (int32_t y = 0; y < image.height; ++y) {
      for (int32_t x = 0; x < image.width; ++x) {
        image.pixels[y * image.pitch + x] = Pattern(x, y) + seed;
      }
    }
  }

  static uint32_t Shown(const present::ImageBuffer& image, int32_t x, int32_t y) {
    return image.pixels[y * image.pitch + x] & kColourBits;
  }

 private:
  HWND window_ = nullptr;
};

TEST_F(ContractPresentation, DibImageIsATopDownSectionSelectedIntoItsDc) {
  present::ImageBuffer* image = present::CreateDibImage(21, 13);
  ASSERT_NE(image, nullptr);
  present::OutputImage = image;  // released with the test
  EXPECT_EQ(image->pitch, 24);
  EXPECT_EQ(image->pitchBytes, 96);
  EXPECT_EQ(image->sizeBytes, 16 * 96);
  BITMAP shape{};
  ASSERT_EQ(GetObjectA(image->bitmap, sizeof shape, &shape), static_cast<int>(sizeof shape));
  EXPECT_EQ(shape.bmBits, image->pixels);
  EXPECT_EQ(shape.bmWidth, image->pitch);
  EXPECT_EQ(shape.bmHeight, 16);
  Fill(*image, 3);
  const DibCanvas copy(21, -13);
  ASSERT_TRUE(BitBlt(copy.dc(), 0, 0, 21, 13, image->dc, 0, 0, SRCCOPY));
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 21; ++x) ASSERT_EQ(copy.At(x, y), Pattern(x, y) + 3);
  }
}

TEST_F(ContractPresentation, TransferPutsThePictureAreaAtThePictureRectangle) {
  const TestWindow window(kWindowedStyle, 0, 100, 100, 240, 180);
  ASSERT_NE(window.handle(), nullptr);
  Show(window.handle(), 100, 80, 20, 10, 200, 160);
  PaintClient(window.handle(), kGround);
  const present::PictureArea area{5, 6, 40, 30};
  present::TransferToWindow(area);
  const Picture client = ReadClient(window.handle());
  for (int y = 0; y < client.height; ++y) {
    for (int x = 0; x < client.width; ++x) {
      const int32_t picture_x = x - core::dstX;
      const int32_t picture_y = y - core::dstY;
      const bool inside = picture_x >= area.left && picture_x <= area.right &&
                          picture_y >= area.top && picture_y <= area.bottom;
      const uint32_t expected =
          inside ? Shown(*present::OutputImage, picture_x, picture_y) : kGround;
      ASSERT_EQ(client.At(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(ContractPresentation, OneToOneCopiesTheFrameRectangleUnscaled) {
  const TestWindow window(kWindowedStyle, 0, 100, 100, 160, 120);
  ASSERT_NE(window.handle(), nullptr);
  Show(window.handle(), 160, 120, 0, 0, 160, 120);
  PaintClient(window.handle(), kGround);
  RECT changed{150, 0, 159, 119};  // inclusive, at the right edge
  present::OneToOnePresent(nullptr, &changed, nullptr, nullptr, 0, nullptr);
  const Picture client = ReadClient(window.handle());
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) {
      const uint32_t expected = x >= 150 ? Shown(*present::FrameImage, x, y) : kGround;
      ASSERT_EQ(client.At(x, y), expected) << x << "," << y;
    }
  }
}

struct BorderCase {
  int32_t client_width, client_height;
  int32_t x, y, width, height;  // the picture rectangle of a 100 x 100 frame
};

// Paint copies the picture and blackens the borders, which reach one pixel into the picture:
// its first column when the bars stand left and right, its first row otherwise, and its last
// row or column.
uint32_t Painted(const BorderCase& shape, const present::ImageBuffer& output, int32_t x,
                 int32_t y) {
  const bool bars_left_and_right = shape.x > 0;
  const bool black = bars_left_and_right
                         ? x <= shape.x || x >= shape.x + shape.width || y >= shape.height - 1
                         : y <= shape.y || y >= shape.y + shape.height || x >= shape.width - 1;
  return black ? 0u : output.pixels[(y - shape.y) * output.pitch + (x - shape.x)] & kColourBits;
}

TEST_F(ContractPresentation, PaintShowsThePictureWithBlackBordersInsideThePaintRectangle) {
  const BorderCase cases[] = {{400, 200, 100, 0, 200, 200}, {200, 300, 0, 50, 200, 200}};
  for (const BorderCase& shape : cases) {
    const TestWindow window(kWindowedStyle, 0, 100, 100, shape.client_width, shape.client_height);
    ASSERT_NE(window.handle(), nullptr);
    Show(window.handle(), 100, 100, shape.x, shape.y, shape.width, shape.height);
    PaintClient(window.handle(), kGround);

    // A part first: only the invalidated rectangle changes.
    const RECT part{shape.x + 10, shape.y + 20, shape.x + 50, shape.y + 45};
    PAINTSTRUCT paint{};
    BeginPaint(window.handle(), &paint);  // nothing left pending
    EndPaint(window.handle(), &paint);
    InvalidateRect(window.handle(), &part, FALSE);
    present::PaintWindow(window.handle());
    Picture client = ReadClient(window.handle());
    for (int y = 0; y < shape.client_height; ++y) {
      for (int x = 0; x < shape.client_width; ++x) {
        const bool inside = x >= part.left && x < part.right && y >= part.top && y < part.bottom;
        const uint32_t expected = inside ? Painted(shape, *present::OutputImage, x, y) : kGround;
        ASSERT_EQ(client.At(x, y), expected) << x << "," << y;
      }
    }

    InvalidateRect(window.handle(), nullptr, FALSE);
    present::PaintWindow(window.handle());
    client = ReadClient(window.handle());
    for (int y = 0; y < shape.client_height; ++y) {
      for (int x = 0; x < shape.client_width; ++x) {
        ASSERT_EQ(client.At(x, y), Painted(shape, *present::OutputImage, x, y)) << x << "," << y;
      }
    }
    TearDown();
  }
}

}  // namespace
}  // namespace qz::contract
