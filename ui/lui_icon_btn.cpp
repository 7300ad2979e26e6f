#include "ui/lui_icon_btn.h"

#include <algorithm>

#include "ui/text_draw.h"

namespace {

// The icon follows the drawn text at this fixed distance, whatever iconGap says.
const float kIconOffset = 5.0f;
const int kIconStates = 3;

}  // namespace

LUIIconBtn::LUIIconBtn(LUIWin* owner) : LUIButton(owner) {}

LUIIconBtn::~LUIIconBtn() = default;

void LUIIconBtn::SetIconStrip(Gdiplus::Bitmap* strip) {
    if (!strip) return;
    for (int i = 0; i < kIconStates; ++i) icons[i] = CopyStripSlice(strip, kIconStates, i);
}

TextSize LUIIconBtn::MeasureContent() const {
    TextSize size = MeasureTextSize(text, fontFamily, fontSize, false, false, false);
    if (icons[0]) {
        size.width += iconGap + iconWidth;
        size.height = std::max(size.height, iconHeight);
    }
    return size;
}

void LUIIconBtn::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    const TextSize content = MeasureContent();
    float textEnd = static_cast<float>(r.x);
    if (!text.empty()) {
        const TextSize drawn = MeasureText();
        DrawTextAtPoint(graphics, text, fontFamily, fontSize, fontStyle, textColors[state],
                        Gdiplus::PointF(Gdiplus::REAL(r.x),
                                        Gdiplus::REAL((content.height - drawn.height) / 2 + r.y)));
        textEnd = static_cast<float>(r.x + drawn.width);
    }
    if (!icons[0]) return;
    Picture* icon = icons[state] ? icons[state].get() : icons[0].get();
    icon->DrawAt(graphics, static_cast<int>(textEnd + kIconOffset),
                 (content.height - iconHeight) / 2 + r.y, iconWidth, iconHeight);
}
