// The message box's answers, from its actions on a hidden box.
#include "pages/message_box.h"

#include <gtest/gtest.h>

#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui/toolkit_module.h"

TEST(MessageBoxIcon, StylesOneAndTwoOnly) {
    const struct {
        int style, png;
    } cases[] = {{1, 161}, {2, 165}, {0, 0}, {3, 0}, {-1, 0}};
    for (const auto& c : cases) EXPECT_EQ(MessageBoxIconId(c.style), c.png) << c.style;
}

TEST(MessageBoxActions, EachButtonItsAnswer) {
    ASSERT_TRUE(ToolkitModule.Start(nullptr));
    const struct {
        const char* action;
        int result, closedByCloseButton, closing;
    } cases[] = {
        {"OnOk", 1, 0, 1},
        {"OnCancel", 0, 0, 1},
        {"OnCloseWin", 0, 1, 1},
        {"OnSomethingElse", 0, 0, 0},
    };
    for (const auto& c : cases) {
        CMessageBox box(0);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.name, L"CMessageBox");
        box.OnAction(ActionRecord{box.okButton, "Action", &box, c.action});
        EXPECT_EQ(box.result, c.result) << c.action;
        EXPECT_EQ(box.closedByCloseButton, c.closedByCloseButton) << c.action;
        EXPECT_EQ(box.closing, c.closing) << c.action;
    }
}

TEST(MessageBoxActions, ButtonsAreBoundToTheirHandlers) {
    ASSERT_TRUE(ToolkitModule.Start(nullptr));
    CMessageBox box(0);
    const struct {
        LUIButton* button;
        const char* action;
    } cases[] = {
        {box.okButton, "OnOk"}, {box.cancelButton, "OnCancel"}, {box.closeButton, "OnCloseWin"}};
    for (const auto& c : cases) {
        const auto found = ActionMap.find(ActionKey(c.button));
        ASSERT_NE(found, ActionMap.end()) << c.action;
        ASSERT_EQ(found->second.size(), 1u) << c.action;
        EXPECT_EQ(found->second[0].handler, &box);
        EXPECT_EQ(found->second[0].handlerName, c.action);
    }
}
