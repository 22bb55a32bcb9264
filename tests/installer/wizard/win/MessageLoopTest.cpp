// The installer's message loop and its one-message pump.
#include "installer/wizard/win/MessageLoop.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

constexpr UINT kCounted = WM_APP + 5;
int gCounted = 0;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCounted) {
        ++gCounted;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = countingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MessageLoopTestWindow";
        RegisterClassA(&windowClass);
        window = CreateWindowA("MessageLoopTestWindow", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        MSG stale;
        while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {
        }
        gCounted = 0;
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = nullptr;
};

} // namespace

TEST_F(MessageLoopTest, PumpTakesOneMessageAtATime)
{
    EXPECT_EQ(pumpOneMessage(), kNoMessagePending);
    PostMessageA(window, kCounted, 0, 0);
    PostMessageA(window, kCounted, 0, 0);
    EXPECT_EQ(pumpOneMessage(), kMessageDispatched);
    EXPECT_EQ(gCounted, 1);
    EXPECT_EQ(pumpOneMessage(), kMessageDispatched);
    EXPECT_EQ(pumpOneMessage(), kNoMessagePending);
    EXPECT_EQ(gCounted, 2);
    PostQuitMessage(3);
    EXPECT_EQ(pumpOneMessage(), kQuitTaken);
    // The quit stays pending for the message loop, with its code.
    MSG left{};
    ASSERT_TRUE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(left.wParam, WPARAM(3));
}

TEST_F(MessageLoopTest, LoopDispatchesUntilQuitAndReturnsItsCode)
{
    PostMessageA(window, kCounted, 0, 0);
    PostMessageA(window, kCounted, 0, 0);
    PostQuitMessage(7);
    EXPECT_EQ(messageLoop(), WPARAM(7));
    EXPECT_EQ(gCounted, 2);
}
