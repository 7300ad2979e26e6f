// The installed page's failure view, built hidden: no frame is drawn.
#include "pages/installed_page.h"

#include <gtest/gtest.h>

#include "base/diagnostics.h"
#include "config/ui_data.h"
#include "report/report_front.h"
#include "test_support.h"
#include "ui/lui_button.h"
#include "ui/lui_text.h"
#include "ui/toolkit_module.h"

namespace {

// A page whose reports go to 127.0.0.1, where nothing listens.
class InstalledPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ToolkitModule.Start(nullptr));
        LoadUiData(nullptr, L"zh");
        Report_Url = L"http://127.0.0.1:1/c";
    }
    void TearDown() override { StopReporter(); }
};

}  // namespace

// Each test runs in a process of its own: the first two have no log file.
TEST_F(InstalledPage, SuccessAndFailureWithoutALogNameNoLog) {
    CInstalled success(L"");
    EXPECT_EQ(success.errorLine, nullptr);
    EXPECT_EQ(success.logLine, nullptr);
    CInstalled failure(L"failed");
    ASSERT_NE(failure.errorLine, nullptr);
    EXPECT_EQ(failure.errorLine->text, Install_Error);
    EXPECT_EQ(failure.logLine, nullptr);
}

TEST_F(InstalledPage, AFailureNamesTheLogUnderTheErrorLine) {
    TempDir dir;
    ASSERT_TRUE(WriteLogTo(dir / L"setup.log"));
    CInstalled success(L"");
    EXPECT_EQ(success.logLine, nullptr);
    CInstalled failure(L"failed");
    ASSERT_NE(failure.logLine, nullptr);
    EXPECT_EQ(failure.logLine->text, Install_Log_Text + dir / L"setup.log");
    EXPECT_GE(failure.logLine->y, failure.errorLine->y + failure.errorLine->height);
    EXPECT_LE(failure.logLine->y + failure.logLine->height, failure.startButton->y);
}
