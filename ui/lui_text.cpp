#include "ui/lui_text.h"

#include "ui/text_draw.h"

LUIText::LUIText(LUIWin* owner) : ILUIChild(owner) {}

LUIText::~LUIText() = default;

void LUIText::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    if (text.empty()) return;
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    if (horizontalAlignment != 0) {
        format.SetAlignment(static_cast<Gdiplus::StringAlignment>(horizontalAlignment));
    }
    if (verticalAlignment != 0) {
        format.SetLineAlignment(static_cast<Gdiplus::StringAlignment>(verticalAlignment));
    }
    Gdiplus::ARGB color = 0;
    GetTextColor(&color);
    DrawTextInRect(graphics, text, fontFamily, fontSize, fontStyle, color,
                   Gdiplus::RectF(Gdiplus::REAL(r.x), Gdiplus::REAL(r.y), Gdiplus::REAL(r.width),
                                  Gdiplus::REAL(r.height)),
                   &format);
}

void LUIText::SetText(const std::wstring& newText) { SetTextEx(newText, true); }

void LUIText::SetTextEx(const std::wstring& newText, bool autoSize) {
    text = newText;
    if (!autoSize) return;
    const TextSize size = MeasureText();
    SetSize(size.width, size.height);
}

void LUIText::GetTextColor(Gdiplus::ARGB* out) const { *out = textColor; }
