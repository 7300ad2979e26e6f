// The uninstalling page's reactions, called directly on a hidden page: no frame is drawn.
#include "pages/uninstalling_page.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"
#include "ui/toolkit_module.h"

namespace {

class UninstallingPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ToolkitModule.Start(nullptr));
        page = std::make_unique<CUninstalling>();
        ASSERT_NE(page->hwnd, nullptr);
    }

    // A tick of the page's own timer and one of the toolkit's refresh timer.
    void Tick(UINT_PTR timer) { EXPECT_TRUE(page->OnMessage(page->hwnd, WM_TIMER, timer, 0)); }

    void ExpectInitialState() {
        EXPECT_EQ(page->percentText->text, L"0%");
        EXPECT_EQ(page->progressBar->value, 0.0f);
        EXPECT_EQ(page->progressBar->maximum, 100.0f);
    }

    std::unique_ptr<CUninstalling> page;
};

}  // namespace

TEST_F(UninstallingPage, ShowsTheShareOfTheListTheWorkerHasDone) {
    EXPECT_EQ(page->statusText->text, L"正在卸载...");
    page->StartProgressTimer();
    EXPECT_EQ(page->uninstallTimerId, kUninstallTimer);
    // Three entries, counted one by one by the worker; every timer's tick shows the count
    // of that moment.
    const struct {
        int removed;
        UINT_PTR timer;
        const wchar_t* label;
    } steps[] = {{1, kUninstallTimer, L"33%"}, {2, 1, L"66%"}, {3, kUninstallTimer, L"100%"}};
    const RECT content = page->GetContentRect();
    page->removeTotal = 3;
    for (const auto& step : steps) {
        page->removedCount = step.removed;
        Tick(step.timer);
        EXPECT_EQ(page->percentText->text, step.label);
        EXPECT_EQ(page->progressBar->maximum, 3.0f);
        EXPECT_EQ(page->progressBar->value, static_cast<float>(step.removed));
        // The label stays where the page put it, at every DPI.
        EXPECT_EQ(page->percentText->x, content.right - page->percentText->width - page->Scale(30));
        EXPECT_EQ(page->percentText->y,
                  content.bottom - page->percentText->height - page->Scale(20));
        EXPECT_EQ(page->percentText->width, page->Scale(50));
    }
    EXPECT_EQ(page->closing, 0);
}

TEST_F(UninstallingPage, AnEmptyListLeavesTheInitialState) {
    page->removeTotal = 0;
    page->removedCount = 0;
    Tick(kUninstallTimer);
    Tick(1);
    ExpectInitialState();
    // Called with nothing to count, the page shows nothing rather than dividing by zero.
    page->ShowUninstallProgress(0, 0);
    page->ShowUninstallProgress(-1, 2);
    ExpectInitialState();
}

TEST_F(UninstallingPage, ACountBeyondTheTotalMovesOnlyTheLabel) {
    page->ShowUninstallProgress(3, 2);
    page->ShowUninstallProgress(3, 4);
    EXPECT_EQ(page->percentText->text, L"133%");
    EXPECT_EQ(page->progressBar->value, 2.0f);
    // No overflow for a very long list.
    page->ShowUninstallProgress(40000000, 30000000);
    EXPECT_EQ(page->percentText->text, L"75%");
}

TEST_F(UninstallingPage, AnyMessageAfterFinishedClosesThePageWithoutAnUpdate) {
    page->StartProgressTimer();
    page->removeTotal = 3;
    page->removedCount = 3;
    page->finished.store(1, std::memory_order_release);
    page->OnMessage(page->hwnd, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(page->closing, 1);
    EXPECT_EQ(page->uninstallTimerId, 0u);
    ExpectInitialState();
}

namespace {

// A worker still busy when the page is destroyed: it ends half a second later.
DWORD WINAPI SlowWorker(LPVOID param) {
    Sleep(500);
    static_cast<std::atomic<int>*>(param)->store(1);
    return 0;
}

}  // namespace

TEST_F(UninstallingPage, DestructionWaitsForTheWorker) {
    std::atomic<int> done{0};
    page->workerThread.reset(CreateThread(nullptr, 0, SlowWorker, &done, 0, nullptr));
    ASSERT_TRUE(page->workerThread);
    page.reset();
    EXPECT_EQ(done.load(), 1);
}
