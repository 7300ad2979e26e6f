#include "pages/installed_page.h"

#include "base/desktop_launch.h"
#include "base/diagnostics.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "pages/page_parts.h"
#include "report/report_front.h"
#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui/lui_image.h"
#include "ui/lui_text.h"

namespace {

const int kLogoPng = 133;
const int kButtonPng = 134;
const Gdiplus::ARGB kTitleColor = 0xFF333333;
const Gdiplus::ARGB kWhite = 0xFFFFFFFF;
const int kButtonFontSize = 20;

}  // namespace

CInstalled::CInstalled(const std::wstring& errorText) : succeeded(errorText.empty()) {
    CreatePageWindow(this, L"CInstalled", false);

    closeButton = AddCloseButton(this);

    // After a failure the title names the outcome in the error colour.
    title = new LUIText(this);
    title->fontSize = Scale(Font_Size_24);
    title->fontStyle = Gdiplus::FontStyleBold;
    title->textColor = succeeded ? kTitleColor : Install_Error_Font_Color;
    title->SetText(succeeded ? Soft_Name : Text_Install_Fail);
    title->CenterX(Scale(172));

    logo = new LUIImage(this);
    logo->SetRect(Scale(260), Scale(76), Scale(80), Scale(80));
    logo->LoadImage(kLogoPng);

    TextButtonLook startLook = {200, 56, kButtonFontSize, kWhite, kButtonPng, 4, 1.0f};
    startLook.bold = true;
    startLook.pageFamily = false;
    startLook.nineSlice = false;
    startButton = AddTextButton(this, startLook, succeeded ? Install_Finish_Text : Text_Ok2,
                                "OnInstallFinish");
    startButton->CenterX(Scale(252));

    if (!succeeded) {
        // Between the title and the button.
        errorLine = new LUIText(this);
        errorLine->fontSize = Scale(Font_Size_14);
        errorLine->SetFontFamily(Font_Family);
        errorLine->textColor = Install_Error_Font_Color;
        errorLine->SetText(Install_Error);
        errorLine->CenterX(title->y + title->height +
                           (startButton->y - title->y - title->height - errorLine->height) / 2);
        // Where the run's log went, for whoever looks into the failure.
        const std::wstring log = LogPath();
        if (!log.empty()) {
            logLine = new LUIText(this);
            logLine->fontSize = Scale(Font_Size_12);
            logLine->SetFontFamily(Font_Family);
            logLine->textColor = Select_Note_Font_Color;
            logLine->SetText(Install_Log_Text + log);
            logLine->CenterX(errorLine->y + errorLine->height + Scale(4));
        }
    }
    ReportNewInstall(8, succeeded ? 1 : 2, 0, L"");
}

CInstalled::~CInstalled() = default;

void CInstalled::OnAction(const ActionRecord& action) {
    if (action.handlerName == "OnCloseWin") {
        Close();
    } else if (action.handlerName == "OnInstallFinish") {
        OnInstallFinish();
    }
}

void CInstalled::OnInstallFinish() {
    if (!succeeded) {
        ReportNewInstall(7, 5, 0, L"installed fail");
    } else {
        StartInstalledApp(installDir);
    }
    Close();
}

void StartInstalledApp(const std::wstring& installDir) {
    DWORD error = 0;
    if (LaunchFile(JoinPath(installDir, Start_App), &error)) {
        ReportNewInstall(7, 1, 0, L"");
    } else {
        ReportNewInstall(7, 5, static_cast<int>(error), L"");
    }
}
