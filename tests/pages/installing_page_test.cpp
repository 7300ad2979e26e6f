// The installing page's reactions, called directly on a hidden page: no frame is drawn.
#include "pages/installing_page.h"

#include <gtest/gtest.h>

#include <memory>

#include "config/ui_data.h"
#include "report/report_front.h"
#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"
#include "ui/toolkit_module.h"

namespace {

// A page whose step-2 report goes to 127.0.0.1, where nothing listens.
class InstallingPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Report_Url = L"http://127.0.0.1:1/c"; }
    void SetUp() override {
        ASSERT_TRUE(ToolkitModule.Start(nullptr));
        page = std::make_unique<CInstalling>();
        ASSERT_NE(page->hwnd, nullptr);
    }
    void TearDown() override {
        page.reset();
        StopReporter();
    }
    std::unique_ptr<CInstalling> page;
};

}  // namespace

TEST_F(InstallingPage, StartsWithItsJobWindowAndTimer) {
    EXPECT_EQ(page->progressWindow, page->hwnd);
    EXPECT_EQ(page->installTimerId, kInstallTimer);
    EXPECT_EQ(page->statusText->text, L"正在下载...");
    EXPECT_EQ(page->percentText->text, L"0%");
    EXPECT_EQ(page->progressBar->value, 0.0f);
}

TEST_F(InstallingPage, OnProgressKeepsTheLastKnownPercentage) {
    const struct {
        int received, total, percent;
    } steps[] = {{0, 1000, 0}, {420, 1000, 41}, {999, 1000, 99}, {5000, 0, 99}, {3, -1, 99}};
    for (const auto& step : steps) {
        page->OnProgress(step.received, step.total);
        EXPECT_EQ(page->downloadPercent, step.percent) << step.received << " of " << step.total;
    }
}

TEST_F(InstallingPage, ShowProgressMovesTheBarUpToOneHundred) {
    const struct {
        unsigned percent;
        float bar;
        const wchar_t* label;
    } steps[] = {{42, 42.0f, L"42%"}, {99, 99.0f, L"99%"}, {100, 100.0f, L"100%"},
                 {150, 100.0f, L"150%"}, {7, 7.0f, L"7%"}};
    const RECT content = page->GetContentRect();
    for (const auto& step : steps) {
        page->ShowProgress(step.percent);
        EXPECT_EQ(page->progressBar->value, step.bar) << step.percent;
        EXPECT_EQ(page->progressBar->maximum, 100.0f);
        EXPECT_EQ(page->percentText->text, step.label);
        // The label stays where the page put it, at every DPI.
        EXPECT_EQ(page->percentText->x, content.right - page->percentText->width - page->Scale(30));
        EXPECT_EQ(page->percentText->y,
                  content.bottom - page->percentText->height - page->Scale(20));
    }
}

TEST_F(InstallingPage, TimerShowsThePercentageOfThePhase) {
    const struct {
        int downloading, extracting;
        unsigned expected;  // download 37, extraction 64, none 0
    } cases[] = {{1, 0, 37}, {0, 1, 64}, {1, 1, 0}, {0, 0, 0}};
    for (const auto& c : cases) {
        page->ShowProgress(0);
        page->downloading = c.downloading;
        page->extracting = c.extracting;
        page->downloadPercent = 37;
        page->extractPercent = 64;
        EXPECT_TRUE(page->OnMessage(page->hwnd, WM_TIMER, kInstallTimer, 0));
        EXPECT_EQ(page->progressBar->value, static_cast<float>(c.expected))
            << c.downloading << c.extracting;
        // The toolkit's own refresh timer does not update the page.
        page->downloadPercent = 55;
        page->extractPercent = 55;
        page->OnMessage(page->hwnd, WM_TIMER, 1, 0);
        EXPECT_EQ(page->progressBar->value, static_cast<float>(c.expected));
    }
}

TEST_F(InstallingPage, PhaseMessagesSetTheStatusLine) {
    page->OnMessage(page->hwnd, WM_SETUP_INSTALLING, 0, 0);
    EXPECT_EQ(page->statusText->text, Installing_Text_short);
    page->OnMessage(page->hwnd, WM_SETUP_DOWNLOADING, 0, 0);
    EXPECT_EQ(page->statusText->text, Downloading_Text_short);
    EXPECT_EQ(page->closing, 0);
}

TEST_F(InstallingPage, AnyMessageAfterFinishedClosesThePage) {
    page->finished.store(1, std::memory_order_release);
    page->OnMessage(page->hwnd, WM_SETUP_INSTALLING, 0, 0);
    EXPECT_EQ(page->closing, 1);
    EXPECT_EQ(page->installTimerId, 0u);
    // The status line did not change: the page only closed.
    EXPECT_EQ(page->statusText->text, L"正在下载...");
}
