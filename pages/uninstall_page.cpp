#include "pages/uninstall_page.h"

#include <vector>

#include "config/ui_data.h"
#include "pages/page_parts.h"
#include "report/report_front.h"
#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_image.h"
#include "ui/lui_text.h"

namespace {

const int kPicturePng = 162;
const int kCheckBoxPng = 163;
const int kUninstallPng = 134;
const int kCancelPng = 178;
const int kHeaderFontSize = 18;
const int kHeaderMinFontSize = 12;
const Gdiplus::ARGB kReasonColor = 0xFF666666;
// The gap between the cancel and the uninstall button.
const int kButtonGap = 22;

}  // namespace

CUninstall::CUninstall() {
    CreatePageWindow(this, L"CUninstall", false);
    closeButton = AddCloseButton(this);
    title = AddHeaderTitle(this, nullptr);
    logo = AddHeaderLogo(this);

    picture = new LUIImage(this);
    picture->SetRect(Scale(26), Scale(100), Scale(200), Scale(200));
    picture->LoadImage(kPicturePng);

    header = new LUIText(this);
    header->SetFontFamily(Font_Family);
    header->fontSize = Scale(kHeaderFontSize);
    header->textColor = Soft_Name_Font_Color;
    header->fontStyle = Gdiplus::FontStyleBold;
    header->SetText(Text_UnInstall_Main);
    header->x = Scale(246);
    header->y = Scale(120);
    // Fitted to its text, but no wider than the room right of the picture: where the font
    // sets the text wider than designed (a synthesised bold, a longer translation), a
    // smaller size keeps its end from being cut off at the window's edge.
    const int room = GetContentRect().right - header->x;
    while (header->width > room && header->fontSize > Scale(kHeaderMinFontSize)) {
        --header->fontSize;
        header->SetText(header->text);
    }

    const std::wstring* reasons[] = {&Text_UnInstall_Reason_0, &Text_UnInstall_Reason_1,
                                     &Text_UnInstall_Reason_2, &Text_UnInstall_Reason_3};
    for (size_t i = 0; i < reasonBoxes.size(); ++i) {
        auto* box = new LUICheckBox(this);
        box->boxWidth = box->boxHeight = Scale(16);
        box->gap = Scale(8);
        box->SetFontFamily(Font_Family);
        box->fontSize = Scale(Font_Size_14);
        box->textColor = kReasonColor;
        box->LoadImageStrip(kCheckBoxPng);
        box->SetText(*reasons[i]);
        box->x = Scale(246);
        box->y = Scale(164 + 27 * static_cast<int>(i));
        box->BindAction(this, "OnSelectChanged");
        reasonBoxes[i] = box;
    }

    const TextButtonLook cancelLook = {88, 32, Font_Size_14, Disagree_Text_Font_Color,
                                       kCancelPng, 3, 2.0f};
    cancelButton = AddTextButton(this, cancelLook, Cancel, "OnCloseWin");
    const TextButtonLook uninstallLook = {88, 32, Font_Size_14, Uninstall_Text_Font_Color,
                                          kUninstallPng, 4, 2.0f};
    uninstallButton = AddTextButton(this, uninstallLook, Uninstall_Text, "OnUninstall");
    uninstallButton->AlignRightBottom(Scale(20), Scale(20));
    // Left of the uninstall button as wide as its text made it, so a longer text cannot
    // push one button over the other.
    cancelButton->AlignRightBottom(Scale(20 + kButtonGap) + uninstallButton->width, Scale(20));

    ReportUninstall(0, kPageOpened);
}

CUninstall::~CUninstall() = default;

void CUninstall::OnAction(const ActionRecord& action) {
    if (action.handlerName == "OnCloseWin") {
        Close();
        ReportUninstall(0, kPageCancelled);
    } else if (action.handlerName == "OnUninstall") {
        OnUninstall();
    } else if (action.handlerName == "OnSelectChanged") {
        OnSelectChanged();
    }
}

void CUninstall::OnSelectChanged() {
    std::vector<int> checked;
    for (size_t i = 0; i < reasonBoxes.size(); ++i) {
        if (reasonBoxes[i]->checked) checked.push_back(static_cast<int>(i));
    }
    if (checked.empty()) {
        if (selectedReason != -1) reasonBoxes[selectedReason]->checked = 1;
        return;
    }
    if (checked.size() == 1) {
        selectedReason = checked.front();
        return;
    }
    // The box clicked last is the one that was not checked before; every other one is
    // cleared, so even a state with no remembered box ends with one choice.
    const int previous = selectedReason;
    selectedReason = -1;
    for (int index : checked) {
        if (index != previous) selectedReason = index;
    }
    for (int index : checked) {
        if (index != selectedReason) reasonBoxes[index]->checked = 0;
    }
}

int CUninstall::CheckedReason() const {
    for (size_t i = 0; i < reasonBoxes.size(); ++i) {
        if (reasonBoxes[i]->checked) return static_cast<int>(i) + 1;
    }
    return 0;
}

void CUninstall::OnUninstall() {
    Close();
    cancelled = false;
    ReportUninstall(static_cast<uint8_t>(CheckedReason()), kUninstallChosen);
}
