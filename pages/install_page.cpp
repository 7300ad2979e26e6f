#include "pages/install_page.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "base/desktop_launch.h"
#include "base/handles.h"
#include "base/probes.h"
#include "config/ui_data.h"
#include "install/uninstall_entry.h"
#include "install/uninstall_worker.h"
#include "pages/message_box.h"
#include "pages/page_parts.h"
#include "report/report_front.h"
#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_edit.h"
#include "ui/lui_icon_btn.h"
#include "ui/lui_image.h"
#include "ui/lui_link.h"
#include "ui/lui_text.h"
#include "ui/png_resource.h"
#include "ui/toolkit_module.h"

namespace {

const int kLogoPng = 133;
const int kInstallPng = 134;
const int kPathPng = 136;
const int kCheckPng = 176;
const int kBluePng = 177;
const int kWhitePng = 178;
const int kFolderIconPng = 179;

const Gdiplus::ARGB kGrey = 0xFF888888;
const Gdiplus::ARGB kDark = 0xFF111111;
const Gdiplus::ARGB kWhite = 0xFFFFFFFF;
const Gdiplus::ARGB kHover = 0xFF2369FC;
const Gdiplus::ARGB kPressed = 0xFF1C54CA;
const int kInstallFontSize = 20;

// Normal, hover, pressed and disabled colours of the links and the icon button.
const std::array<Gdiplus::ARGB, kStateCount> kLinkColors = {kGrey, kHover, kPressed, kGrey};
const std::array<Gdiplus::ARGB, kStateCount> kGreyColors = {kGrey, kGrey, kGrey, kGrey};

LUICheckBox* MakeCheckBox(LUIWin* page, int bottomDistance) {
    auto* box = new LUICheckBox(page);
    box->boxWidth = page->Scale(16);
    box->boxHeight = page->Scale(16);
    box->gap = 0;
    box->SetSize(page->Scale(16), page->Scale(16));
    box->x = page->Scale(20);
    box->y = page->GetContentRect().bottom - box->height - page->Scale(bottomDistance);
    box->LoadImageStrip(kCheckPng);
    box->checked = 1;
    return box;
}

}  // namespace

void ControlGroup::SetVisible(bool visible) {
    for (ILUIChild* control : members) control->visible = visible;
}

std::wstring DefaultInstallDir() { return GetLocalAppDataDir() + L"\\" + Install_Dir; }

std::wstring InstallDirInFolder(const std::wstring& folder) {
    return folder + L"\\" + Install_Dir;
}

CInstall::CInstall() {
    CreatePageWindow(this, L"CInstall", false);
    const RECT content = GetContentRect();

    closeButton = AddCloseButton(this);

    titleText = new LUIText(this);
    titleText->fontSize = Scale(Font_Size_24);
    titleText->SetFontFamily(Font_Family);
    titleText->textColor = Soft_Name_Font_Color;
    titleText->SetText(Soft_Name);
    titleText->fontStyle = Gdiplus::FontStyleBold;
    const TextSize titleSize = titleText->MeasureText();
    titleText->SetSize(titleSize.width, titleSize.height);
    titleText->CenterX(Scale(172));

    logoImage = new LUIImage(this);
    logoImage->SetRect(Scale(260), Scale(76), Scale(80), Scale(80));
    logoImage->LoadImage(kLogoPng);

    agreeCheck = MakeCheckBox(this, 20);
    agreeCheck->BindAction(this, "OnAgree");

    AddAgreementLine();

    defaultViewerCheck = MakeCheckBox(this, 44);
    defaultViewerCheck->BindAction(this, "OnSetAsDefaultImageViewer");

    defaultViewerText = new LUILink(this, false);
    defaultViewerText->fontSize = Scale(Font_Size_12);
    defaultViewerText->SetFontFamily(Font_Family);
    defaultViewerText->linkColors = kGreyColors;
    defaultViewerText->textColor = kGrey;
    defaultViewerText->SetText(Set_As_Default_Image_Browser);
    defaultViewerText->x = Scale(20) + Scale(16) + Scale(4);
    defaultViewerText->y = content.bottom - defaultViewerText->height - Scale(44);
    defaultViewerText->BindAction(this, "OnSetAsDefaultImageViewerText");

    const int size12 = Scale(Font_Size_12);
    TextButtonLook browseLook = {88, 32, Font_Size_14, kDark, kWhitePng, 3, 2.0f};
    browseLook.pageFamily = false;
    browseButton = AddTextButton(this, browseLook, Select_Path, "OnSelect");
    browseButton->AlignRightBottom(Scale(20), Scale(72));

    pathField = new LUIEdit(this);
    pathField->SetSize(Scale(460), Scale(32));
    pathField->x = Scale(20);
    pathField->y = content.bottom - pathField->height - Scale(72);
    if (ImagePtr frame = LoadPngResource(ToolkitModule.instance, kPathPng)) {
        pathField->SetImageStrip(frame.get());
    }
    pathField->fontSize = size12;
    pathField->textColor = kGrey;
    pathField->SetText(Select_Note);

    locationLabel = new LUIText(this);
    locationLabel->fontSize = size12;
    locationLabel->SetFontFamily(Font_Family);
    locationLabel->textColor = kGrey;
    locationLabel->SetText(Install_Note);
    locationLabel->x = Scale(20);
    locationLabel->y = Scale(272);

    TextButtonLook installLook = {200, 56, kInstallFontSize, kWhite, kInstallPng, 4, 1.0f};
    installLook.bold = true;
    installLook.nineSlice = false;
    installButton = AddTextButton(this, installLook, Install_Text, "OnInstall");
    installButton->x = Scale(200);
    installButton->y = Scale(234);

    installNowButton = AddTextButton(this, {88, 32, Font_Size_14, kWhite, kBluePng, 4, 2.0f},
                                     L"立即安装", "OnInstall");
    installNowButton->AlignRightBottom(Scale(90), Scale(20));

    backButton = AddTextButton(this, {60, 32, Font_Size_14, kDark, kWhitePng, 3, 2.0f}, L"返回",
                               "OnBack");
    backButton->AlignRightBottom(Scale(20), Scale(20));

    chooseDirButton = new LUIIconBtn(this);
    chooseDirButton->iconGap = Scale(5);
    chooseDirButton->iconWidth = Scale(16);
    chooseDirButton->iconHeight = Scale(16);
    if (ImagePtr icons = LoadPngResource(ToolkitModule.instance, kFolderIconPng)) {
        chooseDirButton->SetIconStrip(icons.get());
    }
    chooseDirButton->fontSize = size12;
    chooseDirButton->textColors = kLinkColors;
    chooseDirButton->textColor = kGrey;
    chooseDirButton->SetText(L"选择安装目录");
    const TextSize chooseSize = chooseDirButton->MeasureContent();
    chooseDirButton->SetSize(chooseSize.width, chooseSize.height);
    chooseDirButton->AlignRightBottom(Scale(20), Scale(20));
    // An agreement line long enough to run under it (in English, say) keeps its row; the
    // button moves up to the default-viewer option's row, which is free on the right.
    const LUIText* lineEnd = lawTexts[4];
    if (lineEnd->x + lineEnd->width + Scale(10) > chooseDirButton->x) {
        chooseDirButton->AlignRightBottom(Scale(20), Scale(44));
    }
    chooseDirButton->BindAction(this, "OnShowInstall");

    ReportNewInstall(1, 1, 0, L"");
    installDir = DefaultInstallDir();
    pathField->SetText(installDir);

    for (ILUIChild* control : {static_cast<ILUIChild*>(chooseDirButton),
                               static_cast<ILUIChild*>(installButton)}) {
        mainGroup.Add(control);
    }
    for (ILUIChild* control :
         {static_cast<ILUIChild*>(locationLabel), static_cast<ILUIChild*>(pathField),
          static_cast<ILUIChild*>(backButton), static_cast<ILUIChild*>(installNowButton),
          static_cast<ILUIChild*>(browseButton)}) {
        directoryGroup.Add(control);
    }
    directoryGroup.SetVisible(false);
}

CInstall::~CInstall() = default;

// The agreement line: a lead-in that toggles the box, the licence link, a separator, the
// privacy link and a closing bracket, centred on the tallest piece, 20 above the bottom.
void CInstall::AddAgreementLine() {
    const std::wstring* texts[5] = {&Law_Declares_0, &Law_Declares_1, &Law_Declares_2,
                                    &Law_Declares_3, &Law_Declares_4};
    const char* actions[5] = {"OnAgreeText", "OnLawDeclare", nullptr, "OnUserPrivacy", nullptr};
    for (int i = 0; i < 5; ++i) {
        LUIText* piece;
        if (actions[i]) {
            const bool underline = i != 0;
            auto* link = new LUILink(this, underline);
            link->linkColors = underline ? kLinkColors : kGreyColors;
            link->BindAction(this, actions[i]);
            piece = link;
        } else {
            piece = new LUIText(this);
        }
        piece->textColor = kGrey;
        piece->fontSize = Scale(Font_Size_12);
        piece->SetFontFamily(Font_Family);
        piece->SetText(*texts[i]);
        lawTexts[i] = piece;
    }
    int maxHeight = 0;
    for (LUIText* piece : lawTexts) maxHeight = std::max(maxHeight, piece->height);
    const int bottom = GetContentRect().bottom;
    int x = Scale(40);
    for (LUIText* piece : lawTexts) {
        piece->x = x;
        piece->y = bottom - piece->height - (Scale(20) + (maxHeight - piece->height) / 2);
        x += piece->width;
    }
}

void CInstall::OnAction(const ActionRecord& action) {
    const std::string& handler = action.handlerName;
    if (handler == "OnCloseWin") {
        Close();
    } else if (handler == "OnSelect") {
        SelectFolder();
    } else if (handler == "OnInstall") {
        Install();
    } else if (handler == "OnBack") {
        ShowDirectoryView(false);
    } else if (handler == "OnUserPrivacy") {
        DWORD error = 0;
        LaunchFile(Privacy_Url, &error);
    } else if (handler == "OnLawDeclare") {
        DWORD error = 0;
        LaunchFile(User_Agreement_Url, &error);
    } else if (handler == "OnAgree") {
        UpdateAgreement();
    } else if (handler == "OnAgreeText") {
        agreeCheck->checked = agreeCheck->checked ? 0 : 1;
        UpdateAgreement();
    } else if (handler == "OnShowInstall") {
        ShowDirectoryView(true);
    } else if (handler == "OnSetAsDefaultImageViewer") {
        setAsDefault = defaultViewerCheck->checked != 0;
    } else if (handler == "OnSetAsDefaultImageViewerText") {
        defaultViewerCheck->checked = defaultViewerCheck->checked ? 0 : 1;
        setAsDefault = defaultViewerCheck->checked != 0;
    }
}

void CInstall::UpdateAgreement() {
    const ControlState state = agreeCheck->checked ? kStateNormal : kStateDisabled;
    installButton->state = state;
    installNowButton->state = state;
}

void CInstall::ShowDirectoryView(bool directory) {
    directoryGroup.SetVisible(directory);
    mainGroup.SetVisible(!directory);
}

void CInstall::SelectFolder() {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = hwnd;
    info.pszDisplayName = displayName;
    info.lpszTitle = L"请选择";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item) return;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) {
        installDir = InstallDirInFolder(path);
        pathField->SetText(installDir);
    }
    CoTaskMemFree(item);
}

void CInstall::Install() {
    if (!installDir.empty()) {
        Close();
        cancelled = false;
        return;
    }
    // A smaller notice, scaled like every window so that its text and button fit on any
    // screen.
    CMessageBox box(0);
    box.SetSize(Scale(400), Scale(200));
    box.Show(App_Name, Select_Instal_Path, L"", Text_Ok, 0);
}

void CInstall::RefreshTexts() {
    titleText->SetText(Soft_Name);
    browseButton->SetText(Select_Path);
    locationLabel->SetText(Install_Note);
    installButton->SetText(Install_Text);
    const TextSize titleSize = titleText->MeasureText();
    titleText->SetSize(titleSize.width, titleSize.height);
    titleText->CenterX(90);
    titleText->OffsetY(40);
    logoImage->x = titleText->x - 40;
    logoImage->y = titleText->y;
    installButton->CenterX(270);
}

void CInstall::SetInstallDir(const std::wstring& dir) {
    installDir = dir.empty() ? DefaultInstallDir() : dir;
    cancelled = false;
}

bool CInstall::CheckExistingInstall() {
    const std::wstring existing = ReadInstallLocation(REG_KEY);
    if (existing.empty()) return false;
    CMessageBox box(0);
    box.Show(Kind_Tips, Overwrite_Note, Overwrite_NO, Overwrite_YES, 2);
    if (box.result != 0 || box.closedByCloseButton) return true;
    RemovePreviousFiles(existing);
    existingDir = existing;
    installDir = existingDir;
    pathField->SetText(installDir);
    cancelled = false;
    return false;
}
