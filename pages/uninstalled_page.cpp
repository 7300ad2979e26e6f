#include "pages/uninstalled_page.h"

#include "config/ui_data.h"
#include "pages/page_parts.h"
#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui/lui_image.h"
#include "ui/lui_text.h"

namespace {

const int kLogoPng = 133;
const int kDonePng = 134;
const int kDoneFontSize = 20;

}  // namespace

CUninstalled::CUninstalled() {
    CreatePageWindow(this, L"CUninstalled", false);
    closeButton = AddCloseButton(this);

    title = new LUIText(this);
    title->SetFontFamily(Font_Family);
    title->fontSize = Scale(Font_Size_24);
    title->textColor = Soft_Name_Font_Color;
    title->fontStyle = Gdiplus::FontStyleBold;
    title->SetText(Soft_Name);
    title->CenterX(Scale(172));

    logo = new LUIImage(this);
    logo->SetRect(Scale(260), Scale(76), Scale(80), Scale(80));
    logo->LoadImage(kLogoPng);

    const TextButtonLook doneLook = {200, 56, kDoneFontSize, Uninstalled_Text_Font_Color,
                                     kDonePng, 4, 1.0f};
    doneButton = AddTextButton(this, doneLook, Uninstalled_Text, "OnUninstalled");
    doneButton->CenterX(Scale(252));
}

CUninstalled::~CUninstalled() = default;

void CUninstalled::OnAction(const ActionRecord& action) {
    if (action.handlerName == "OnCloseWin" || action.handlerName == "OnUninstalled") Close();
}
