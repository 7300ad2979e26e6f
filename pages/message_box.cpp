#include "pages/message_box.h"

#include <algorithm>

#include "config/ui_data.h"
#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui/lui_image.h"
#include "ui/lui_multiline_text.h"
#include "ui/lui_text.h"

namespace {

const int kBackgroundPng = 151;
const int kClosePng = 130;
const int kOkPng = 177;
const int kCancelPng = 178;
const int kInfoIconPng = 161;
const int kQuestionIconPng = 165;
const Gdiplus::ARGB kCancelTextColor = 0xFF111111;
const int kGapAboveButtons = 6;

}  // namespace

int MessageBoxIconId(int iconStyle) {
    if (iconStyle == 1) return kInfoIconPng;
    if (iconStyle == 2) return kQuestionIconPng;
    return 0;
}

CMessageBox::CMessageBox(int) {
    name = L"CMessageBox";
    Create(App_Name);
    SetSize(Scale(432), Scale(242));
    SetBackground(kBackgroundPng, Scale(16), Scale(16), Scale(16), Scale(16), false);

    titleText = new LUIText(this);
    titleText->fontSize = Scale(Font_Size_16);
    titleText->SetFontFamily(Font_Family);
    titleText->textColor = Soft_Name_Font_Color;
    titleText->fontStyle = Gdiplus::FontStyleBold;
    titleText->SetText(L"");
    titleText->x = Scale(20);
    titleText->y = Scale(15);

    closeButton = new LUIButton(this);
    closeButton->SetSize(Scale(32), Scale(32));
    closeButton->AlignRight(Scale(11), Scale(12));
    closeButton->LoadImageStrip(kClosePng, 4, false);
    closeButton->BindAction(this, "OnCloseWin");

    messageText = new LUIMultilineText(this);
    messageText->backColor = 0xFFFFFFFF;
    messageText->SetMargins(0, 0, 0, 0);
    // Unscaled on purpose: Show lays the message out again before the window appears.
    messageText->FillParent(20, 60, 20, 45);
    messageText->fontSize = Scale(Font_Size_14);
    messageText->SetFontFamily(Font_Family);
    messageText->textColor = App_Running_Font_Color;
    messageText->SetText(L"");

    // The pair of buttons: ok on the right, cancel on its left, 20 apart around the centre.
    struct ButtonLook {
        LUIButton** button;
        Gdiplus::ARGB color;
        int sign;
        int png;
        int states;
        const char* action;
    };
    const ButtonLook looks[] = {
        {&okButton, Termination_Font_Color, 1, kOkPng, 4, "OnOk"},
        {&cancelButton, kCancelTextColor, -1, kCancelPng, 3, "OnCancel"},
    };
    for (const ButtonLook& look : looks) {
        auto* button = new LUIButton(this);
        button->SetSize(Scale(60), Scale(32));
        button->minWidth = Scale(100);
        button->fontSize = Scale(Font_Size_16);
        button->SetFontFamily(Font_Family);
        button->textColors = {look.color, look.color, look.color, look.color};
        button->textColor = look.color;
        button->SetText(L"");
        button->CenterXBottom(Scale(20));
        button->OffsetX(look.sign * (Scale(10) + button->width / 2));
        button->LoadImageStrip(look.png, look.states, true);
        button->imageScale = 2.0f;
        button->BindAction(this, look.action);
        *look.button = button;
    }

    icon = new LUIImage(this);
    icon->visible = false;
}

CMessageBox::~CMessageBox() = default;

int CMessageBox::Show(const std::wstring& title, const std::wstring& message,
                      const std::wstring& cancelText, const std::wstring& okText,
                      int iconStyle) {
    // A box that cannot be shown gives the answer of its close button, which is the
    // negative answer to every question the installer asks.
    if (!hwnd) {
        closedByCloseButton = 1;
        return result;
    }
    const int iconId = MessageBoxIconId(iconStyle);
    icon->visible = iconId != 0;
    if (icon->visible) {
        icon->SetSize(Scale(32), Scale(32));
        icon->LoadImage(iconId);
    }
    messageText->SetText(message);
    titleText->SetText(title);
    cancelButton->SetText(cancelText);
    okButton->SetText(okText);
    cancelButton->visible = !cancelText.empty();
    okButton->visible = !okText.empty();
    LayOut();
    RunUntilClosed();
    return result;
}

void CMessageBox::LayOut() {
    if (icon->visible) {
        icon->SetRect(Scale(41), Scale(80), Scale(32), Scale(32));
        messageText->FillParent(Scale(90), Scale(74), Scale(40), Scale(45));
    } else {
        messageText->FillParent(Scale(20), Scale(70), Scale(20), Scale(45));
    }
    const ClientBox area = messageText->ClientRect();
    if (!messageText->rendered) messageText->Layout(area.x, area.y, area.width, area.height);
    closeButton->AlignRight(Scale(11), Scale(12));
    // Centre the rendered lines on the icon; an empty message has no lines to centre. A
    // message much taller than the icon stops below the title and the close button instead
    // of covering them. The area keeps its bottom edge, where a text taller than it is cut.
    if (icon->visible && messageText->rendered) {
        const int bottom = messageText->y + messageText->height;
        const int renderedHeight = static_cast<int>(messageText->rendered->GetHeight());
        const int centred = icon->y + (icon->height - renderedHeight) / 2;
        const int top = std::max(titleText->y + titleText->height,
                                 closeButton->y + closeButton->height);
        messageText->y = std::max(centred, top);
        messageText->height = std::max(0, bottom - messageText->y);
    }
    okButton->AlignRightBottom(Scale(20), Scale(20));
    cancelButton->AlignRightBottom(Scale(30) + okButton->width, Scale(20));
    // The area's bottom margin alone would reach 7 pixels into the buttons' row; a long
    // message is cut above the buttons instead of showing half a line beside them.
    if (okButton->visible || cancelButton->visible) {
        const int limit = okButton->y - Scale(kGapAboveButtons);
        messageText->height = std::max(0, std::min(messageText->height, limit - messageText->y));
    }
}

void CMessageBox::OnAction(const ActionRecord& action) {
    if (action.handlerName == "OnCloseWin") {
        closedByCloseButton = 1;
        Close();
    } else if (action.handlerName == "OnOk") {
        result = 1;
        Close();
    } else if (action.handlerName == "OnCancel") {
        Close();
    }
}
