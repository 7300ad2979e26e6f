// Binding, firing and unbinding actions, including handlers that change the bindings of
// the action being delivered.
#include <gtest/gtest.h>

#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui_test_support.h"

TEST(ActionMap, DeliversToBoundHandlersInOrder) {
    RecordingPage page;
    PreparePage(page);
    auto* unbound = new LUIButton(&page);
    unbound->FireAction();
    EXPECT_TRUE(page.received.empty());

    auto* twice = new LUIButton(&page);
    twice->BindAction(&page, "OnOne");
    twice->BindAction(&page, "OnOne");
    auto* other = new LUIButton(&page);
    other->BindAction(&page, "OnOther");
    twice->FireAction();
    other->FireAction();
    EXPECT_EQ(page.received, (std::vector<std::string>{"OnOne", "OnOne", "OnOther"}));

    const auto& records = ActionMap.at(ActionKey(twice));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].source, twice);
    EXPECT_EQ(records[0].handler, &page);
    EXPECT_EQ(records[0].event, "Action");
    char expected[64];
    std::snprintf(expected, sizeof(expected), "%p_Action", static_cast<void*>(twice));
    EXPECT_EQ(ActionKey(twice), expected);
}

TEST(ActionMap, DestroyingASourceRemovesOnlyItsBindings) {
    RecordingPage page;
    PreparePage(page);
    auto* doomed = new LUIButton(&page);
    auto* kept = new LUIButton(&page);
    doomed->BindAction(&page, "OnDoomed");
    kept->BindAction(&page, "OnKept");
    const std::string doomedKey = ActionKey(doomed);
    doomed->Release();
    // The released control left its window: frames and messages walk only the live one.
    EXPECT_EQ(page.children, std::vector<ILUIChild*>{kept});
    ASSERT_NE(page.RenderFrame(), nullptr);
    SendMessageW(page.hwnd, WM_MOUSEMOVE, 0, ContentPoint(page, 5, 5));
    // A new object at the same address would find no bindings under its key.
    EXPECT_EQ(ActionMap.count(doomedKey), 0u);
    EXPECT_EQ(ActionMap.count(ActionKey(kept)), 1u);
    {
        LUIObj handlerOnly;
        kept->BindAction(&handlerOnly, "OnKept");
    }  // a destroyed handler's records stay: only sources are unbound
    EXPECT_EQ(ActionMap.at(ActionKey(kept)).size(), 2u);
}

TEST(ActionMap, RecordsBoundDuringDeliveryAreDeliveredInTheSameWalk) {
    RecordingPage page;
    PreparePage(page);
    auto* button = new LUIButton(&page);
    static LUIButton* source;
    source = button;
    button->BindAction(&page, "OnFirst");
    // Each delivery of "OnFirst" binds more records; the list grows (and moves) during the walk.
    page.onEach = [](RecordingPage& p, const ActionRecord& action) {
        if (action.handlerName != "OnFirst") return;
        for (int i = 0; i < 20; ++i) source->BindAction(&p, "OnAdded");
    };
    button->FireAction();
    ASSERT_EQ(page.received.size(), 21u);
    EXPECT_EQ(page.received.front(), "OnFirst");
    EXPECT_EQ(page.received.back(), "OnAdded");
}

TEST(ActionMap, HandlerThatDestroysTheSourceEndsTheWalk) {
    RecordingPage page;
    PreparePage(page);
    auto* button = new LUIButton(&page);
    button->BindAction(&page, "OnDestroy");
    button->BindAction(&page, "OnAfter");
    page.onEach = [](RecordingPage& p, const ActionRecord& action) {
        if (action.handlerName != "OnDestroy") return;
        p.children.back()->Release();
    };
    button->FireAction();
    EXPECT_EQ(page.received, std::vector<std::string>{"OnDestroy"});
}
