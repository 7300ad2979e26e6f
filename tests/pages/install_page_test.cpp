// The install page's logic, clicked through the window's own message handling on a hidden
// page: no frame is drawn.
#include "pages/install_page.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ui_data.h"
#include "install/file_list.h"
#include "install/install_test_support.h"
#include "install/uninstall_entry.h"
#include "page_test_support.h"
#include "report/report_front.h"
#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_edit.h"
#include "ui/lui_icon_btn.h"
#include "ui/lui_link.h"
#include "ui/lui_text.h"
#include "ui/toolkit_module.h"
#include "test_support.h"

namespace {

// A page whose reports go to 127.0.0.1, where nothing listens.
class InstallPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Report_Url = L"http://127.0.0.1:1/c"; }
    void SetUp() override {
        ASSERT_TRUE(ToolkitModule.Start(nullptr));
        LoadUiData(nullptr, L"zh");
    }
    void TearDown() override {
        LoadUiData(nullptr, L"zh");
        StopReporter();
    }
};

// Refuses every window this thread asks for while it lives, as a system short of window
// resources would.
class WindowsRefused {
public:
    WindowsRefused() : hook_(SetWindowsHookExW(WH_CBT, Refuse, nullptr, GetCurrentThreadId())) {}
    ~WindowsRefused() { UnhookWindowsHookEx(hook_); }
    WindowsRefused(const WindowsRefused&) = delete;
    WindowsRefused& operator=(const WindowsRefused&) = delete;
    bool active() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
        return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

}  // namespace

TEST_F(InstallPage, AnOverwriteQuestionThatCannotShowQuitsAndKeepsTheEarlierFiles) {
    // An earlier installation that the Uninstall entry records, its file listed.
    Install_Dir = L"LarwenPic";
    TempDir root;
    const std::wstring earlier = root / L"LarwenPic";
    ASSERT_TRUE(CreateDirectoryW(earlier.c_str(), nullptr));
    const std::wstring file = earlier + L"\\old.txt";
    WriteFileBytes(file, "earlier");
    WriteFileList(earlier + App_Data_Ini, {file});
    ScratchUninstallKey scratch;
    ASSERT_TRUE(CreateUninstallKey(scratch.name()));
    ASSERT_TRUE(SetDisplayIcon(earlier + L"\\lwpic.exe"));

    CInstall page;
    bool quit = false;
    {
        WindowsRefused refused;
        ASSERT_TRUE(refused.active());
        quit = page.CheckExistingInstall();
    }
    EXPECT_TRUE(quit);
    EXPECT_TRUE(PathFileExistsW(file.c_str()));
    EXPECT_TRUE(page.existingDir.empty());
}

TEST_F(InstallPage, AgreementBoxAndItsLeadInEnableBothInstallButtons) {
    // What is clicked, in order, and the box and the two buttons' state after each click.
    enum Target { kBox, kLeadIn };
    const struct {
        std::vector<Target> clicks;
        int checked;
        ControlState buttons;
    } cases[] = {
        {{}, 1, kStateNormal},
        {{kBox}, 0, kStateDisabled},
        {{kBox, kBox}, 1, kStateNormal},
        {{kLeadIn}, 0, kStateDisabled},
        {{kBox, kLeadIn}, 1, kStateNormal},
    };
    for (const auto& c : cases) {
        CInstall page;
        for (Target target : c.clicks) {
            Click(page, target == kBox ? static_cast<ILUIChild&>(*page.agreeCheck)
                                       : static_cast<ILUIChild&>(*page.lawTexts[0]));
        }
        EXPECT_EQ(page.agreeCheck->checked, c.checked) << c.clicks.size();
        EXPECT_EQ(page.installButton->state, c.buttons) << c.clicks.size();
        EXPECT_EQ(page.installNowButton->state, c.buttons) << c.clicks.size();
        EXPECT_TRUE(page.cancelled);
    }
}

TEST_F(InstallPage, DefaultViewerOptionFollowsItsBoxAndItsLabel) {
    CInstall page;
    EXPECT_EQ(page.setAsDefault, 1);
    Click(page, *page.defaultViewerCheck);
    EXPECT_EQ(page.setAsDefault, 0);
    Click(page, *page.defaultViewerText);
    EXPECT_EQ(page.defaultViewerCheck->checked, 1);
    EXPECT_EQ(page.setAsDefault, 1);
    Click(page, *page.defaultViewerText);
    EXPECT_EQ(page.setAsDefault, 0);
}

TEST_F(InstallPage, ViewsAndTheInstallButton) {
    CInstall page;
    EXPECT_TRUE(page.installButton->visible);
    EXPECT_FALSE(page.pathField->visible);
    Click(page, *page.chooseDirButton);
    EXPECT_FALSE(page.installButton->visible);
    EXPECT_FALSE(page.chooseDirButton->visible);
    for (const ILUIChild* control : {static_cast<ILUIChild*>(page.pathField),
                                     static_cast<ILUIChild*>(page.browseButton),
                                     static_cast<ILUIChild*>(page.backButton),
                                     static_cast<ILUIChild*>(page.installNowButton),
                                     static_cast<ILUIChild*>(page.locationLabel)}) {
        EXPECT_TRUE(control->visible);
    }
    EXPECT_EQ(page.pathField->text, page.installDir);
    Click(page, *page.backButton);
    EXPECT_TRUE(page.installButton->visible);
    EXPECT_FALSE(page.backButton->visible);
    // A press on a disabled install button does not install.
    Click(page, *page.agreeCheck);
    Click(page, *page.installButton);
    EXPECT_TRUE(page.cancelled);
    Click(page, *page.agreeCheck);
    Click(page, *page.installButton);
    EXPECT_FALSE(page.cancelled);
}

TEST_F(InstallPage, AgreementLineIsOneRowThatNothingCovers) {
    for (const wchar_t* language : {L"zh", L"en", L"ja"}) {
        LoadUiData(nullptr, language);
        CInstall page;
        const RECT content = page.GetContentRect();
        int x = page.Scale(40);
        int bottom = -1;
        for (const LUIText* piece : page.lawTexts) {
            EXPECT_EQ(piece->x, x) << language;
            x += piece->width;
            // Centred on the tallest piece: the middles agree within a pixel.
            const int middle = 2 * piece->y + piece->height;
            if (bottom >= 0) {
                EXPECT_NEAR(middle, bottom, 1) << language;
            }
            bottom = middle;
        }
        EXPECT_LE(x, content.right) << language;
        // The folder button keeps clear of the line, moving up a row when it must.
        const LUIIconBtn& choose = *page.chooseDirButton;
        const LUIText& last = *page.lawTexts[4];
        const bool sameRow = choose.y < last.y + last.height && last.y < choose.y + choose.height;
        if (sameRow) {
            EXPECT_LT(x, choose.x) << language;
        }
        EXPECT_LE(choose.x + choose.width, content.right - page.Scale(20)) << language;
    }
}

TEST(InstallDirInFolder, AppendsTheProductFolderAsItIs) {
    LoadUiData(nullptr, L"zh");
    EXPECT_EQ(InstallDirInFolder(L"D:\\Apps"), L"D:\\Apps\\" + Install_Dir);
    // A drive root keeps its own backslash: two in a row, which Windows accepts.
    EXPECT_EQ(InstallDirInFolder(L"D:\\"), L"D:\\\\" + Install_Dir);
}
