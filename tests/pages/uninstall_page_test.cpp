// The uninstall survey and its buttons, clicked through the window's own message handling on
// a hidden page: no frame is drawn.
#include "pages/uninstall_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ui_data.h"
#include "page_test_support.h"
#include "report/report_front.h"
#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_text.h"
#include "ui/toolkit_module.h"

namespace {

// A page whose reports go to 127.0.0.1, where nothing listens.
class UninstallPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Report_Url = L"http://127.0.0.1:1/c"; }
    void SetUp() override { ASSERT_TRUE(ToolkitModule.Start(nullptr)); }
    void TearDown() override { StopReporter(); }

    std::unique_ptr<CUninstall> NewPage() {
        auto page = std::make_unique<CUninstall>();
        EXPECT_NE(page->hwnd, nullptr);
        return page;
    }

    static std::vector<int> CheckedBoxes(const CUninstall& page) {
        std::vector<int> checked;
        for (size_t i = 0; i < page.reasonBoxes.size(); ++i) {
            if (page.reasonBoxes[i]->checked) checked.push_back(static_cast<int>(i));
        }
        return checked;
    }
};

std::string Describe(const std::vector<int>& clicks) {
    std::string text = "clicks:";
    for (int box : clicks) text += " " + std::to_string(box);
    return text;
}

}  // namespace

TEST_F(UninstallPage, TheReasonBoxesActAsOneChoice) {
    const struct {
        std::vector<int> clicks;
        std::vector<int> checked;
        int selectedReason;
        int reason;  // reported on uninstall
    } cases[] = {
        {{}, {}, -1, 0},
        {{2}, {2}, 2, 3},
        {{2, 0}, {0}, 0, 1},
        {{2, 2}, {2}, 2, 3},              // the chosen reason cannot be cleared
        {{1, 1, 1}, {1}, 1, 2},
        {{0, 1, 2, 3}, {3}, 3, 4},
        {{3, 0, 3}, {3}, 3, 4},
        {{1, 3, 3, 1}, {1}, 1, 2},
    };
    for (const auto& c : cases) {
        auto page = NewPage();
        for (int box : c.clicks) Click(*page, *page->reasonBoxes[box]);
        EXPECT_EQ(CheckedBoxes(*page), c.checked) << Describe(c.clicks);
        EXPECT_EQ(page->selectedReason, c.selectedReason) << Describe(c.clicks);
        EXPECT_EQ(page->CheckedReason(), c.reason) << Describe(c.clicks);
        // Nothing but the uninstall and cancel buttons ends the page.
        EXPECT_EQ(page->closing, 0) << Describe(c.clicks);
    }
}

TEST_F(UninstallPage, OnlyTheUninstallButtonClearsCancelled) {
    const struct {
        const char* name;
        LUIButton* CUninstall::*button;
        bool cancelled;
    } cases[] = {
        {"uninstall", &CUninstall::uninstallButton, false},
        {"cancel", &CUninstall::cancelButton, true},
        {"close", &CUninstall::closeButton, true},
    };
    for (const auto& c : cases) {
        auto page = NewPage();
        EXPECT_TRUE(page->cancelled) << c.name;
        Click(*page, *page->reasonBoxes[1]);
        Click(*page, *(page.get()->*c.button));
        EXPECT_EQ(page->closing, 1) << c.name;
        EXPECT_EQ(page->cancelled, c.cancelled) << c.name;
    }
}

TEST_F(UninstallPage, ControlsStayInsideTheContentAndApart) {
    // A longer button text than the shipped one widens the uninstall button to the left;
    // the cancel button keeps its distance instead of sliding under it.
    for (const wchar_t* text : {L"开始卸载", L"Uninstall the application now"}) {
        Uninstall_Text = text;
        auto page = NewPage();
        const RECT content = page->GetContentRect();
        const LUIButton& uninstall = *page->uninstallButton;
        const LUIButton& cancel = *page->cancelButton;
        EXPECT_EQ(uninstall.x + uninstall.width, content.right - page->Scale(20));
        EXPECT_EQ(uninstall.y + uninstall.height, content.bottom - page->Scale(20));
        EXPECT_EQ(cancel.y, uninstall.y);
        EXPECT_EQ(cancel.x + cancel.width + page->Scale(22), uninstall.x);
        EXPECT_GE(cancel.x, 0);

        // The survey fits beside the picture and above the buttons, one box under another.
        for (size_t i = 0; i < page->reasonBoxes.size(); ++i) {
            const LUICheckBox& box = *page->reasonBoxes[i];
            EXPECT_EQ(box.x, page->Scale(246));
            EXPECT_EQ(box.y, page->Scale(164 + 27 * static_cast<int>(i)));
            EXPECT_LE(box.x + box.width, content.right) << i;
            EXPECT_LE(box.height, page->Scale(27)) << i;
            EXPECT_LT(box.y + box.height, cancel.y) << i;
        }
        EXPECT_LE(page->header->x + page->header->width, content.right);
        EXPECT_LE(page->header->y + page->header->height, page->reasonBoxes[0]->y);
    }
}
