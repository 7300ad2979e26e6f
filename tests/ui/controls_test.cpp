// The mouse state machines of buttons, links and check boxes, message by message, and the
// window's dispatch to them (taking a click, dragging by the surface).
#include <gtest/gtest.h>

#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_link.h"
#include "ui_test_support.h"

namespace {

// One message at a content point, and what the control shows afterwards.
struct Step {
    UINT message;
    int x, y;
    bool taken;
    int state;
    int fired;  // actions received so far
};

template <typename Control>
void RunSteps(RecordingPage& page, Control* control, const std::vector<Step>& steps,
              const char* what) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(control->OnMessage(page.hwnd, s.message, 0, ContentPoint(page, s.x, s.y)), s.taken)
            << what << " step " << i;
        EXPECT_EQ(control->state, s.state) << what << " step " << i;
        EXPECT_EQ(static_cast<int>(page.received.size()), s.fired) << what << " step " << i;
    }
}

// The control lies at (10, 10, 40, 20); (5, 5) is outside it.
const std::vector<std::pair<const char*, std::vector<Step>>> kButtonCases = {
    {"click", {{WM_MOUSEMOVE, 20, 20, true, 1, 0}, {WM_LBUTTONDOWN, 20, 20, true, 2, 0},
               {WM_MOUSEMOVE, 25, 20, true, 2, 0}, {WM_LBUTTONUP, 25, 20, true, 1, 1}}},
    {"leave while pressed resets, return shows hover",
     {{WM_LBUTTONDOWN, 20, 20, true, 2, 0}, {WM_MOUSEMOVE, 5, 5, false, 0, 0},
      {WM_MOUSEMOVE, 20, 20, true, 1, 0}, {WM_LBUTTONUP, 5, 5, false, 1, 0}}},
    {"release after a press elsewhere fires",
     {{WM_LBUTTONDOWN, 5, 5, false, 0, 0}, {WM_LBUTTONUP, 50, 30, true, 1, 1}}},
    {"other messages", {{WM_LBUTTONDBLCLK, 20, 20, false, 0, 0}, {WM_RBUTTONDOWN, 20, 20, false, 0, 0}}},
};

}  // namespace

TEST(ButtonBehaviour, ButtonAndLinkFollowTheMouse) {
    for (const auto& [what, steps] : kButtonCases) {
        RecordingPage page;
        PreparePage(page);
        auto* button = new LUIButton(&page);
        button->SetRect(10, 10, 40, 20);
        button->BindAction(&page, "OnButton");
        RunSteps(page, button, steps, what);

        RecordingPage linkPage;
        PreparePage(linkPage);
        auto* link = new LUILink(&linkPage, true);
        link->SetRect(10, 10, 40, 20);
        link->BindAction(&linkPage, "OnLink");
        RunSteps(linkPage, link, steps, what);
    }
}

TEST(ButtonBehaviour, DisabledAndHiddenControlsTakeNothing) {
    RecordingPage page;
    PreparePage(page);
    auto* button = new LUIButton(&page);
    button->SetRect(10, 10, 40, 20);
    button->BindAction(&page, "OnButton");
    button->state = 3;
    RunSteps(page, button, {{WM_MOUSEMOVE, 20, 20, false, 3, 0}, {WM_LBUTTONDOWN, 20, 20, false, 3, 0},
                            {WM_LBUTTONUP, 20, 20, false, 3, 0}}, "disabled");
    button->state = 0;
    button->visible = false;
    RunSteps(page, button, {{WM_MOUSEMOVE, 20, 20, false, 0, 0}, {WM_LBUTTONDOWN, 20, 20, false, 0, 0},
                            {WM_LBUTTONUP, 20, 20, false, 0, 0}}, "hidden");
}

TEST(ButtonBehaviour, LinkColourFollowsTheState) {
    LUIWin page;
    PreparePage(page);
    auto* link = new LUILink(&page, false);
    EXPECT_EQ(link->fontStyle & Gdiplus::FontStyleUnderline, 0);
    Gdiplus::ARGB color = 1;
    link->GetTextColor(&color);
    EXPECT_EQ(color, 0x00000000u);  // invisible until hovered
    link->state = 1;
    link->GetTextColor(&color);
    EXPECT_EQ(color, 0xFF000000u);
    EXPECT_NE((new LUILink(&page, true))->fontStyle & Gdiplus::FontStyleUnderline, 0);
}

TEST(CheckBoxBehaviour, TogglesOnReleaseAndTakesEveryMessageInside) {
    const struct {
        const char* what;
        int checkedBefore;
        std::vector<Step> steps;
        int checkedAfter;
    } cases[] = {
        {"click checks", 0, {{WM_LBUTTONDOWN, 20, 20, true, 2, 0}, {WM_LBUTTONUP, 20, 20, true, 1, 1}}, 1},
        {"click unchecks", 1, {{WM_LBUTTONDOWN, 20, 20, true, 2, 0}, {WM_LBUTTONUP, 20, 20, true, 1, 1}}, 0},
        {"other value becomes 0", 2, {{WM_LBUTTONUP, 20, 20, true, 1, 1}}, 0},
        // A double-click is taken (no drag) without toggling; the following release toggles.
        {"double-click", 0, {{WM_LBUTTONDBLCLK, 20, 20, true, 0, 0}, {WM_LBUTTONUP, 20, 20, true, 1, 1}}, 1},
        {"outside", 0, {{WM_LBUTTONDBLCLK, 5, 5, false, 0, 0}, {WM_LBUTTONUP, 5, 5, false, 0, 0},
                        {WM_MOUSEMOVE, 20, 20, true, 1, 0}, {WM_MOUSEMOVE, 5, 5, false, 0, 0}}, 0},
    };
    for (const auto& c : cases) {
        RecordingPage page;
        PreparePage(page);
        auto* box = new LUICheckBox(&page);
        box->SetRect(10, 10, 40, 20);
        box->checked = c.checkedBefore;
        box->BindAction(&page, "OnCheck");
        RunSteps(page, box, c.steps, c.what);
        EXPECT_EQ(box->checked, c.checkedAfter) << c.what;
    }
}

TEST(CheckBoxBehaviour, PictureFollowsStateAndChecked) {
    LUIWin page;
    PreparePage(page);
    auto* box = new LUICheckBox(&page);
    const struct { int checked, state, picture; } cases[] = {
        {0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {1, 0, 4}, {1, 2, 6}, {1, 3, 7}, {2, 1, 0}, {-1, 2, 0},
    };
    for (const auto& c : cases) {
        box->checked = c.checked;
        box->state = c.state;
        EXPECT_EQ(box->PictureIndex(), c.picture) << c.checked << "/" << c.state;
    }
}

TEST(LUIWinDispatch, ControlsTakeClicksAndTheSurfaceDrags) {
    RecordingPage page;
    PreparePage(page);
    auto* first = new LUIButton(&page);
    first->SetRect(10, 10, 40, 20);
    first->BindAction(&page, "OnFirst");
    auto* second = new LUIButton(&page);  // overlaps the first one
    second->SetRect(30, 10, 40, 20);
    second->BindAction(&page, "OnSecond");
    HWND hwnd = page.hwnd;

    // A click on the overlap goes to the control created first only.
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ContentPoint(page, 35, 15));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, ContentPoint(page, 35, 15));
    EXPECT_EQ(page.received, std::vector<std::string>{"OnFirst"});
    EXPECT_EQ(page.dragging, 0);
    EXPECT_EQ(second->state, 0);

    // A press where no control takes it starts a drag at that client point.
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ContentPoint(page, 100, 60));
    EXPECT_EQ(page.dragging, 1);
    EXPECT_EQ(page.dragAnchorX, 116);
    EXPECT_EQ(page.dragAnchorY, 76);
    EXPECT_EQ(GetCapture(), hwnd);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, ContentPoint(page, 100, 60));
    EXPECT_EQ(page.dragging, 0);

    // A drag released over a control fires it and still ends.
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ContentPoint(page, 100, 60));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, ContentPoint(page, 60, 15));
    EXPECT_EQ(page.received, (std::vector<std::string>{"OnFirst", "OnSecond"}));
    EXPECT_EQ(page.dragging, 0);
    EXPECT_NE(GetCapture(), hwnd);

    // Capture taken away mid-drag ends the drag: later moves without the button do not
    // move the window.
    RECT before = {};
    GetWindowRect(hwnd, &before);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ContentPoint(page, 100, 60));
    EXPECT_EQ(page.dragging, 1);
    ReleaseCapture();
    EXPECT_EQ(page.dragging, 0);
    SetCursorPos(before.left + 300, before.top + 200);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, ContentPoint(page, 120, 80));
    RECT after = {};
    GetWindowRect(hwnd, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);

    // A disabled control does not take the press: the window drags.
    first->state = 3;
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ContentPoint(page, 15, 15));
    EXPECT_EQ(page.dragging, 1);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, ContentPoint(page, 15, 15));

    // Nothing is served once the page is closing.
    page.closing = 1;
    SendMessageW(hwnd, WM_LBUTTONUP, 0, ContentPoint(page, 60, 15));
    EXPECT_EQ(page.received.size(), 2u);
}
