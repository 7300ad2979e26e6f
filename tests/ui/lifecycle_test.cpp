// Creating, showing and destroying windows: failed creation, the shared loop, and a new
// window at the address of a destroyed one.
#include <gtest/gtest.h>

#include <new>

#include "ui/window_registry.h"
#include "ui_test_support.h"

TEST(LUIWinLifecycle, ShowModalWithoutANativeWindowReturnsAtOnce) {
    StartToolkit();
    LUIWin page;  // never created
    page.ShowModal();
    page.RunUntilClosed();
    EXPECT_TRUE(page.cancelled);
    EXPECT_EQ(page.running, 0);
}

TEST(LUIWinLifecycle, SharedLoopEndsWhenNoRegisteredWindowIsVisible) {
    RecordingPage page;
    PreparePage(page, 120, 80);
    // Closing from inside the loop: the default handling destroys the window, the loop ends.
    PostMessageW(page.hwnd, WM_CLOSE, 0, 0);
    page.ShowModal();
    EXPECT_FALSE(MessageLoopActive);
    EXPECT_FALSE(IsWindow(page.hwnd));
    ASSERT_EQ(WindowRegistry.size(), 1u);  // closed pages stay registered until destroyed

    // A loop already running serves a newly shown window; ShowModal returns at once.
    LUIWin nested;
    PreparePage(nested, 120, 80);
    MessageLoopActive = true;
    nested.ShowModal();
    EXPECT_TRUE(IsWindowVisible(nested.hwnd));
    MessageLoopActive = false;
}

TEST(LUIWinLifecycle, ANewWindowAtTheAddressOfADestroyedOneCanBeCreated) {
    StartToolkit();
    alignas(LUIWin) unsigned char storage[sizeof(LUIWin)];
    auto* first = new (storage) LUIWin;
    ASSERT_TRUE(first->Create(L"first"));
    HWND firstWindow = first->hwnd;
    first->~LUIWin();  // never closed
    EXPECT_FALSE(IsWindow(firstWindow));
    EXPECT_TRUE(WindowRegistry.empty());

    auto* second = new (storage) LUIWin;
    EXPECT_TRUE(second->Create(L"second"));
    second->~LUIWin();
}
