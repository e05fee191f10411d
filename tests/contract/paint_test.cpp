// BeginPaint and EndPaint after InvalidateRect: the paint rectangle the window handling reads,
// the paint DC that draws only inside it, and WM_PAINT coming from the message queue until the
// window validates its update region.
#include <gtest/gtest.h>

#include "win32_contract.h"

namespace qz::contract {
namespace {

constexpr int kClientWidth = 200;
constexpr int kClientHeight = 150;
constexpr uint32_t kGround = 0x00405060;
constexpr uint32_t kPaint = 0x00F0E0D0;

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", "
         << actual.bottom << ") instead of (" << expected.left << ", " << expected.top << ", "
         << expected.right << ", " << expected.bottom << ")";
}

// Paints and validates whatever is pending, so that a test starts from a valid window.
void Validate(HWND window) {
  PAINTSTRUCT paint{};
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
}

RECT PaintRectangle(HWND window) {
  PAINTSTRUCT paint{};
  EXPECT_NE(BeginPaint(window, &paint), nullptr);
  EndPaint(window, &paint);
  return paint.rcPaint;
}

class ContractPaint : public ::testing::Test {
 protected:
  ContractPaint() : window_(kWindowedStyle, 0, 300, 200, kClientWidth, kClientHeight) {}
  void SetUp() override {
    ASSERT_NE(window_.handle(), nullptr);
    Validate(window_.handle());
  }
  HWND handle() const { return window_.handle(); }

 private:
  TestWindow window_;
};

TEST_F(ContractPaint, PaintRectangleIsTheInvalidatedRectangleAndPaintingValidatesIt) {
  const RECT invalid{30, 20, 90, 70};
  ASSERT_TRUE(InvalidateRect(handle(), &invalid, FALSE));
  EXPECT_TRUE(SameRect(PaintRectangle(handle()), invalid));
  EXPECT_TRUE(SameRect(PaintRectangle(handle()), RECT{0, 0, 0, 0}));
}

TEST_F(ContractPaint, PaintRectangleBoundsEveryInvalidatedRectangle) {
  const RECT first{10, 40, 30, 50};
  const RECT second{100, 5, 120, 25};
  InvalidateRect(handle(), &first, FALSE);
  InvalidateRect(handle(), &second, FALSE);
  EXPECT_TRUE(SameRect(PaintRectangle(handle()), RECT{10, 5, 120, 50}));
}

TEST_F(ContractPaint, PaintRectangleStaysInsideTheClientArea) {
  const RECT beyond{-20, 100, 260, 400};
  InvalidateRect(handle(), &beyond, FALSE);
  EXPECT_TRUE(SameRect(PaintRectangle(handle()), RECT{0, 100, kClientWidth, kClientHeight}));
  InvalidateRect(handle(), nullptr, FALSE);
  EXPECT_TRUE(SameRect(PaintRectangle(handle()), RECT{0, 0, kClientWidth, kClientHeight}));
}

// What the window handling draws: the whole client area and one pixel more, through the DC.
void PaintEverything(HDC dc) {
  const DibCanvas picture(kClientWidth + 1, -(kClientHeight + 1));
  picture.Fill(kPaint);
  BitBlt(dc, 0, 0, kClientWidth + 1, kClientHeight + 1, picture.dc(), 0, 0, SRCCOPY);
}

TEST_F(ContractPaint, PaintDcDrawsOnlyInsideTheInvalidatedRectangle) {
  PaintClient(handle(), kGround);
  const RECT invalid{40, 30, 71, 52};
  InvalidateRect(handle(), &invalid, FALSE);
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle(), &paint);
  ASSERT_NE(dc, nullptr);
  PaintEverything(dc);
  EXPECT_TRUE(PatBlt(dc, 60, 0, 200, 200, BLACKNESS));
  EndPaint(handle(), &paint);
  const Picture client = ReadClient(handle());
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      const bool inside = x >= 40 && x < 71 && y >= 30 && y < 52;
      const uint32_t expected = !inside ? kGround : x >= 60 ? 0u : kPaint;
      ASSERT_EQ(client.At(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(ContractPaint, PaintWithNothingInvalidGivesAnEmptyRectangleAndDrawsNothing) {
  PaintClient(handle(), kGround);
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle(), &paint);
  ASSERT_NE(dc, nullptr);
  EXPECT_TRUE(SameRect(paint.rcPaint, RECT{0, 0, 0, 0}));
  PaintEverything(dc);
  EndPaint(handle(), &paint);
  const Picture client = ReadClient(handle());
  for (const uint32_t pixel : client.pixels) ASSERT_EQ(pixel, kGround);
}

int paints_received = 0;

LRESULT WINAPI PaintIgnoringProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wparam, lparam);
  ++paints_received;
  return 0;
}

LRESULT WINAPI PaintValidatingProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wparam, lparam);
  ++paints_received;
  Validate(window);
  return 0;
}

// A window that never validates keeps the queue busy for ever, so pumping stops after a while.
constexpr int kPumpRounds = 20;

void Pump(HWND window) {
  MSG message{};
  for (int round = 0; round < kPumpRounds && PeekMessageA(&message, window, 0, 0, PM_REMOVE);
       ++round) {
    DispatchMessageA(&message);
  }
}

TEST(ContractPaintMessages, WmPaintComesAgainUntilTheWindowValidates) {
  struct Case {
    const char* class_name;
    WNDPROC procedure;
    int expected_paints;
  };
  const Case cases[] = {{"QzContractPaintIgnoring", PaintIgnoringProcedure, kPumpRounds},
                        {"QzContractPaintValidating", PaintValidatingProcedure, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.class_name);
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = c.procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = c.class_name;
    ASSERT_NE(RegisterClassA(&window_class), 0);
    HWND window =
        CreateWindowExA(0, c.class_name, "", kWindowedStyle, 300, 200, kClientWidth, kClientHeight,
                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    Validate(window);
    Pump(window);
    paints_received = 0;
    InvalidateRect(window, nullptr, FALSE);
    Pump(window);
    EXPECT_EQ(paints_received, c.expected_paints);
    DestroyWindow(window);
  }
}

}  // namespace
}  // namespace qz::contract
