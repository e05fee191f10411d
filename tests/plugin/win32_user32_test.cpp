// USER32 windows as a Windows program sees them: frames from AdjustWindowRectEx, placement and
// the top-most band, WM_SIZE and WM_MOVE with client sizes, show states, the update region and
// window DCs that draw into the client area.
#include <gtest/gtest.h>

#include <vector>

#include "win32/win32_world.h"

namespace qz::win32 {
namespace {

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Message&) const = default;
};

std::vector<Message> messages;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  messages.push_back(Message{message, wParam, lParam});
  return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<Message> Placement(const std::vector<Message>& all) {
  std::vector<Message> kept;
  for (const Message& m : all) {
    if (m.message == WM_SIZE || m.message == WM_MOVE) kept.push_back(m);
  }
  return kept;
}

constexpr DWORD kGameWindowStyle = 0x10CF0000;  // visible overlapped window with sizing frame
constexpr const char* kClass = "QzTestWindow";

class Win32Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorld();
    messages.clear();
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = &RecordingProcedure;
    window_class.lpszClassName = kClass;
    ASSERT_NE(RegisterClassA(&window_class), 0);
  }
  void TearDown() override { ResetWorld(); }

  // A window whose client area is width x height at (x, y) on screen, as a program makes one.
  static HWND WindowWithClient(DWORD style, DWORD ex_style, bool menu, int x, int y, int width,
                               int height) {
    RECT rect{x, y, x + width, y + height};
    AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, ex_style);
    return CreateWindowExA(ex_style, kClass, "game", style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr,
                           menu ? reinterpret_cast<HMENU>(0x77) : nullptr, nullptr, nullptr);
  }
};

TEST_F(Win32Windows, CreationSendsCreateThenSizeAndMove) {
  HWND window = WindowWithClient(kGameWindowStyle, 0, false, 40, 60, 800, 600);
  ASSERT_NE(window, nullptr);
  ASSERT_GE(messages.size(), 4u);
  EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(Placement(messages),
            (std::vector<Message>{{WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600)},
                                  {WM_MOVE, 0, MAKELPARAM(40, 60)}}));
  // An overlapped window always carries a caption.
  HWND bare = CreateWindowExA(0, kClass, "", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetWindowLongA(bare, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST_F(Win32Windows, FullScreenAndBackThroughBandsStylesAndFrameChanges) {
  HWND window = WindowWithClient(kGameWindowStyle, 0, false, 40, 60, 800, 600);
  messages.clear();

  ASSERT_TRUE(SetWindowPos(window, HWND_TOPMOST, 0, 0, 1920, 1080, 0));
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
  EXPECT_EQ(Placement(messages),
            (std::vector<Message>{{WM_MOVE, 0, MAKELPARAM(8, 31)},
                                  {WM_SIZE, SIZE_RESTORED, MAKELPARAM(1920 - 16, 1080 - 39)}}));

  // The new style is stored at once but the frame is measured again only on request.
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), WS_POPUP | WS_VISIBLE);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 1920 - 16);
  messages.clear();
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 1920);
  EXPECT_EQ(client.bottom, 1080);
  EXPECT_EQ(Placement(messages),
            (std::vector<Message>{{WM_MOVE, 0, MAKELPARAM(0, 0)},
                                  {WM_SIZE, SIZE_RESTORED, MAKELPARAM(1920, 1080)}}));

  // Nothing moves or resizes: no messages. The band stays with SWP_NOZORDER and with the
  // extended style written directly.
  messages.clear();
  SetWindowPos(window, HWND_NOTOPMOST, 5, 5, 10, 10, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SetWindowLongA(window, GWL_EXSTYLE, 0);
  EXPECT_TRUE(Placement(messages).empty());
  WindowPlacement placement{};
  ASSERT_TRUE(GetPlacement(window, &placement));
  EXPECT_TRUE(placement.top_most);

  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(kGameWindowStyle));
  RECT rect{0, 0, 800, 600};
  AdjustWindowRectEx(&rect, kGameWindowStyle, FALSE, 0);
  messages.clear();
  SetWindowPos(window, HWND_NOTOPMOST, 40, 60, rect.right - rect.left, rect.bottom - rect.top, 0);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(Placement(messages),
            (std::vector<Message>{{WM_MOVE, 0, MAKELPARAM(48, 91)},
                                  {WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600)}}));
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 40);
  EXPECT_EQ(outer.right - outer.left, 816);
}

TEST_F(Win32Windows, MinimisedWindowHasNoClientAreaUntilRestored) {
  HWND window = WindowWithClient(kGameWindowStyle, 0, false, 40, 60, 800, 600);
  messages.clear();
  EXPECT_TRUE(ShowWindow(window, SW_MINIMIZE));
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 0);
  EXPECT_EQ(client.bottom, 0);
  ASSERT_FALSE(Placement(messages).empty());
  EXPECT_EQ(Placement(messages).back(), (Message{WM_SIZE, SIZE_MINIMIZED, 0}));

  messages.clear();
  EXPECT_TRUE(ShowWindow(window, SW_SHOWNORMAL));
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(Placement(messages),
            (std::vector<Message>{{WM_MOVE, 0, MAKELPARAM(40, 60)},
                                  {WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600)}}));

  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));
  WindowPlacement placement{};
  GetPlacement(window, &placement);
  EXPECT_TRUE(placement.visible);
  EXPECT_FALSE(placement.minimized);
}

TEST_F(Win32Windows, MaximisedWindowFillsTheWorkArea) {
  HWND window = WindowWithClient(kGameWindowStyle, 0, false, 40, 60, 800, 600);
  messages.clear();
  ShowWindow(window, SW_SHOWMAXIMIZED);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 1920);
  EXPECT_EQ(client.bottom, 1080 - kTaskBarHeight - kCaptionHeight);
  EXPECT_EQ(Placement(messages).back(),
            (Message{WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1920, 1080 - 40 - 23)}));
  ShowWindow(window, SW_RESTORE);
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 800);
}

TEST_F(Win32Windows, ErasePendingReachesTheProcedureBeforePainting) {
  HWND window = WindowWithClient(kGameWindowStyle, 0, false, 0, 0, 64, 64);
  PAINTSTRUCT paint{};
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  messages.clear();
  InvalidateRect(window, nullptr, TRUE);
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_ERASEBKGND));
  EXPECT_TRUE(paint.fErase);  // DefWindowProcA left the background alone
}

LRESULT CALLBACK PaintIgnoringProcedure(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

TEST_F(Win32Windows, PaintIsSentAgainUntilTheWindowValidates) {
  HWND window = WindowWithClient(kGameWindowStyle, 0, false, 0, 0, 64, 64);
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_EQ(DispatchPaint(window), 1);  // DefWindowProcA paints and so validates
  EXPECT_EQ(DispatchPaint(window), 0);
  SetWindowLongA(window, GWL_WNDPROC,
                 static_cast<LONG>(reinterpret_cast<uintptr_t>(&PaintIgnoringProcedure)));
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_EQ(DispatchPaint(window), kUnvalidatedPaints);
}

TEST_F(Win32Windows, ResizingKeepsTheOverlapAndLeavesNewPixelsUnpainted) {
  HWND window = WindowWithClient(WS_POPUP, 0, false, 0, 0, 4, 3);
  HDC dc = GetDC(window);
  ASSERT_NE(dc, nullptr);
  PatBlt(dc, 0, 0, 4, 3, WHITENESS);
  EXPECT_EQ(GetPixel(dc, 3, 2), RGB(255, 255, 255));
  SetWindowPos(window, nullptr, 0, 0, 6, 2, SWP_NOMOVE | SWP_NOZORDER);
  const ClientPixels client = WindowClientPixels(window);
  ASSERT_EQ(client.width, 6);
  ASSERT_EQ(client.height, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(client.pixels[y * client.pitch_pixels + x],
                x < 4 ? 0x00FFFFFFu : kUnpaintedClientColour);
    }
  }
  EXPECT_EQ(GetPixel(dc, 5, 1), RGB(0xFF, 0x00, 0xFF));
  EXPECT_EQ(GetPixel(dc, 6, 1), CLR_INVALID);
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(ReleaseDC(window, dc), 0);
}

LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) return 7;
  return CallWindowProcA(&RecordingProcedure, window, message, wParam, lParam);
}

TEST_F(Win32Windows, SubclassedProcedureSeesMessagesFirst) {
  HWND window = WindowWithClient(WS_POPUP, 0, false, 0, 0, 10, 10);
  const LONG previous = SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(&Subclass));
  EXPECT_EQ(previous, reinterpret_cast<LONG>(&RecordingProcedure));
  messages.clear();
  EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 7);
  EXPECT_TRUE(messages.empty());
  SendMessageA(window, WM_USER + 1, 2, 3);
  EXPECT_EQ(messages, (std::vector<Message>{{WM_USER + 1, 2, 3}}));
}

TEST_F(Win32Windows, StrictAboutHandlesClassesAndDestroyedWindows) {
  const HWND stranger = reinterpret_cast<HWND>(0x4242);
  RECT rect{};
  POINT point{};
  PAINTSTRUCT paint{};
  SetLastError(0);
  EXPECT_FALSE(GetClientRect(stranger, &rect));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(GetWindowRect(stranger, &rect));
  EXPECT_FALSE(SetWindowPos(stranger, HWND_TOPMOST, 0, 0, 1, 1, 0));
  EXPECT_FALSE(ShowWindow(stranger, SW_SHOW));
  EXPECT_FALSE(ClientToScreen(stranger, &point));
  EXPECT_FALSE(InvalidateRect(stranger, nullptr, FALSE));
  EXPECT_EQ(BeginPaint(stranger, &paint), nullptr);
  EXPECT_EQ(GetDC(stranger), nullptr);
  EXPECT_EQ(GetWindowLongA(stranger, GWL_STYLE), 0);
  EXPECT_FALSE(DestroyWindow(stranger));

  WNDCLASSA again{};
  again.lpfnWndProc = &RecordingProcedure;
  again.lpszClassName = "qztestwindow";
  EXPECT_EQ(RegisterClassA(&again), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  EXPECT_EQ(
      CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
      nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(
      CreateWindowExA(0, kClass, "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
      nullptr);

  HWND window = WindowWithClient(WS_POPUP, 0, false, 0, 0, 10, 10);
  HDC dc = GetDC(window);
  EXPECT_EQ(GetWindowLongA(window, 99), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  messages.clear();
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(messages.front().message, static_cast<UINT>(WM_DESTROY));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, BLACKNESS));
  EXPECT_EQ(WindowClientPixels(window).pixels, nullptr);
}

TEST_F(Win32Windows, RectangleHelpersTreatRightAndBottomAsOutside) {
  RECT a{};
  ASSERT_TRUE(SetRect(&a, 0, 0, 10, 10));
  EXPECT_TRUE(PtInRect(&a, POINT{9, 9}));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 9}));
  EXPECT_FALSE(PtInRect(&a, POINT{0, -1}));
  RECT b{10, 0, 20, 10};
  RECT out{1, 2, 3, 4};
  EXPECT_FALSE(IntersectRect(&out, &a, &b));
  EXPECT_EQ(out.right, 0);
  EXPECT_EQ(out.left, 0);
  b.left = 9;
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  EXPECT_EQ(out.left, 9);
  EXPECT_EQ(out.right, 10);
}

}  // namespace
}  // namespace qz::win32
