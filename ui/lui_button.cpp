#include "ui/lui_button.h"

#include <algorithm>

#include "ui/button_behavior.h"
#include "ui/png_resource.h"
#include "ui/text_draw.h"
#include "ui/toolkit_module.h"

namespace {

const int kButtonSliceInset = 15;

}  // namespace

LUIButton::LUIButton(LUIWin* owner) : ILUIChild(owner) {}

LUIButton::~LUIButton() = default;

void LUIButton::RefitImages() {
    if (!images[0] || !nineSlice) return;
    if (static_cast<int>(images[0]->GetWidth()) == width &&
        static_cast<int>(images[0]->GetHeight()) == height) {
        return;
    }
    // Kept at imageScale times the control's size; once fitted, NineSliceScale hands the
    // images back unchanged.
    const int fittedWidth = static_cast<int>(width * imageScale);
    const int fittedHeight = static_cast<int>(height * imageScale);
    // Nothing can be fitted to an empty size; the pictures wait for a real one.
    if (fittedWidth <= 0 || fittedHeight <= 0) return;
    for (ImagePtr& picture : images) {
        if (picture) {
            picture = NineSliceScale(std::move(picture), fittedWidth, fittedHeight,
                                     kButtonSliceInset, kButtonSliceInset, kButtonSliceInset,
                                     kButtonSliceInset);
        } else {
            picture = CopyWholeImage(images[0].get());
        }
    }
}

void LUIButton::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    if (hasImages) {
        RefitImages();
        if (images[state]) images[state]->DrawAt(graphics, r.x, r.y, r.width, r.height);
    } else {
        Gdiplus::SolidBrush brush{Gdiplus::Color(backColors[state])};
        graphics.FillRectangle(&brush, r.x, r.y, r.width, r.height);
    }
    if (text.empty()) return;
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    DrawTextInRect(graphics, text, fontFamily, fontSize, fontStyle, textColors[state],
                   Gdiplus::RectF(Gdiplus::REAL(r.x), Gdiplus::REAL(r.y), Gdiplus::REAL(r.width),
                                  Gdiplus::REAL(r.height)),
                   &format);
}

bool LUIButton::OnMessage(HWND, UINT message, WPARAM, LPARAM lParam) {
    return ButtonMouseMessage(*this, state, message, lParam);
}

void LUIButton::SetText(const std::wstring& newText) {
    text = newText;
    const TextSize size = MeasureText();
    SetRect(x, y, std::max(paddingLeft + paddingRight + size.width, minWidth), height);
}

void LUIButton::SetImageStrip(Gdiplus::Bitmap* strip, int count, bool stretchNineSlice) {
    nineSlice = stretchNineSlice;
    if (!strip || count <= 0) return;
    hasImages = 1;
    for (int i = 0; i < kStateCount; ++i) {
        images[i].reset();
        if (i < count) {
            images[i] = CopyStripSlice(strip, count, i);
        } else if (images[0]) {
            images[i] = CopyWholeImage(images[0].get());
        }
    }
}

void LUIButton::LoadImageStrip(int resourceId, int count, bool stretchNineSlice) {
    ImagePtr strip = LoadPngResource(ToolkitModule.instance, resourceId);
    if (strip) SetImageStrip(strip.get(), count, stretchNineSlice);
}
