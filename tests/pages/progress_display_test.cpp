#include "pages/progress_display.h"

#include <gtest/gtest.h>

#include <climits>

TEST(DownloadPercent, ReceivedOfTotalPlusOneTruncated) {
    const struct {
        int received, total, percent;
    } cases[] = {
        {0, 100, 0},
        {42, 100, 41},            // 4200 / 101 = 41.58
        {50, 99, 50},             // 5000 / 100
        {100, 100, 99},           // a finished download stays below 100
        {1, 1, 50},
        {INT_MAX, INT_MAX, 100},  // single precision rounds total + 1 to total
        {1000000, 2000000, 49},
        {300, 100, 100},          // more than announced: no further than 100
        {-5, 100, 0},
        {10, 0, -1},              // no Content-Length: unknown, not 1000 %
        {10, -1, -1},             // total + 1 would be 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DownloadPercent(c.received, c.total), c.percent)
            << c.received << " of " << c.total;
    }
}

TEST(ProgressLabel, BarUpToOneHundredLabelAlways) {
    const struct {
        unsigned percent;
        bool bar;
        const wchar_t* label;
    } cases[] = {
        {0, true, L"0%"},     {42, true, L"42%"},     {99, true, L"99%"},
        {100, true, L"100%"}, {101, false, L"101%"}, {4294967295u, false, L"4294967295%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BarTakesPercent(c.percent), c.bar) << c.percent;
        EXPECT_EQ(PercentLabel(c.percent), c.label) << c.percent;
    }
}
