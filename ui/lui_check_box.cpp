#include "ui/lui_check_box.h"

#include <algorithm>

#include "ui/png_resource.h"
#include "ui/text_draw.h"
#include "ui/toolkit_module.h"

LUICheckBox::LUICheckBox(LUIWin* owner) : ILUIChild(owner) {}

LUICheckBox::~LUICheckBox() = default;

int LUICheckBox::PictureIndex() const {
    if (checked == 0) return state;
    if (checked == 1) return state % kStateCount + kStateCount;
    return 0;
}

void LUICheckBox::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    if (images[0]) {
        const ImagePtr& picture = images[PictureIndex()];
        if (picture) {
            picture->DrawAt(graphics, r.x, r.y + (r.height - boxHeight) / 2, boxWidth,
                            boxHeight);
        }
    }
    if (text.empty()) return;
    DrawTextInRect(graphics, text, fontFamily, fontSize, Gdiplus::FontStyleRegular, textColor,
                   Gdiplus::RectF(Gdiplus::REAL(r.x + boxWidth + gap), Gdiplus::REAL(r.y),
                                  Gdiplus::REAL(r.width - boxWidth - gap), Gdiplus::REAL(r.height)),
                   Gdiplus::StringFormat::GenericTypographic());
}

bool LUICheckBox::OnMessage(HWND, UINT message, WPARAM, LPARAM lParam) {
    if (state == kStateDisabled) return false;
    const bool inside = visible && HitTest(lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        if (!visible) return false;
        if (inside) {
            if (state != kStatePressed) state = kStateHover;
        } else {
            state = kStateNormal;
        }
        return inside;
    case WM_LBUTTONDOWN:
        if (inside) state = kStatePressed;
        return inside;
    case WM_LBUTTONUP:
        if (inside) {
            state = kStateHover;
            checked = checked == 0 ? 1 : 0;
            FireAction();
        }
        return inside;
    default:
        return inside;
    }
}

void LUICheckBox::SetText(const std::wstring& newText) {
    text = newText;
    const TextSize size = MeasureString(text);
    SetSize(boxWidth + gap + size.width, std::max(size.height, boxHeight));
}

void LUICheckBox::SetImageStrip(Gdiplus::Bitmap* strip) {
    if (!strip) return;
    const int count = static_cast<int>(images.size());
    for (int i = 0; i < count; ++i) images[i] = CopyStripSlice(strip, count, i);
}

void LUICheckBox::LoadImageStrip(int resourceId) {
    ImagePtr strip = LoadPngResource(ToolkitModule.instance, resourceId);
    if (strip) SetImageStrip(strip.get());
}
