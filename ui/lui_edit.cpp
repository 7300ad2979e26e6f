#include "ui/lui_edit.h"

#include "ui/text_draw.h"

namespace {

const wchar_t kEllipsis[] = L"...";
const int kFirstCut = 4;
// The text starts this many pixels inside the frame (not scaled).
const int kTextIndent = 10;

}  // namespace

std::wstring ShortenFromFront(const std::wstring& text, int maxWidth,
                              const std::function<TextSize(const std::wstring&)>& measure,
                              int* lastHeight) {
    std::wstring shown = text;
    TextSize size = measure(shown);
    for (size_t cut = kFirstCut; size.width > maxWidth && shown != kEllipsis; ++cut) {
        shown = kEllipsis + (cut < shown.size() ? shown.substr(cut) : std::wstring());
        size = measure(shown);
    }
    *lastHeight = size.height;
    return shown;
}

LUIEdit::LUIEdit(LUIWin* owner) : ILUIChild(owner) {}

LUIEdit::~LUIEdit() = default;

void LUIEdit::SetImageStrip(Gdiplus::Bitmap* picture) {
    hasImages = 1;
    images[0] = CopyWholeImage(picture);
    for (size_t i = 1; i < images.size(); ++i) images[i] = CopyWholeImage(images[0].get());
}

void LUIEdit::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    if (hasImages && images[0]) images[0]->DrawAt(graphics, r.x, r.y, r.width, r.height);
    if (text.empty()) return;
    int shownHeight = 0;
    const std::wstring shown = ShortenFromFront(
        text, r.width, [this](const std::wstring& s) { return MeasureString(s); }, &shownHeight);
    DrawTextAtPoint(graphics, shown, fontFamily, fontSize, Gdiplus::FontStyleRegular, textColor,
                    Gdiplus::PointF(Gdiplus::REAL(r.x + kTextIndent),
                                    Gdiplus::REAL(r.y + (r.height - shownHeight) * 0.5)));
}
