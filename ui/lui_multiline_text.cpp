#include "ui/lui_multiline_text.h"

#include "ui/text_draw.h"

std::vector<std::wstring> WrapLines(const std::wstring& text, int available, int reserve,
                                    const std::function<int(const std::wstring&)>& measure) {
    std::vector<std::wstring> lines;
    std::wstring current;
    for (const wchar_t ch : text) {
        if (ch == L'\r' || ch == L'\n') {
            if (!current.empty()) lines.push_back(std::move(current));
            current.clear();
            continue;
        }
        current += ch;
        if (measure(current) + reserve > available) {
            lines.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

LUIMultilineText::LUIMultilineText(LUIWin* owner) : ILUIChild(owner) {}

LUIMultilineText::~LUIMultilineText() = default;

void LUIMultilineText::SetMargins(int left, int top, int right, int bottom) {
    textMarginLeft = left;
    textMarginTop = top;
    textMarginRight = right;
    textMarginBottom = bottom;
    if (!rendered) return;
    rendered.reset();
    const ClientBox r = ClientRect();
    Layout(r.x, r.y, r.width, r.height);
}

void LUIMultilineText::Layout(int, int, int clientWidth, int) {
    if (clientWidth != layoutWidth) rendered.reset();
    if (rendered || text.empty()) return;
    const TextSize em = MeasureTextSize(L"M", fontFamily, fontSize, false, false, false);
    const int available = clientWidth - textMarginRight - textMarginLeft;
    layoutWidth = clientWidth;
    const std::vector<std::wstring> lines =
        WrapLines(text, available, em.width, [this](const std::wstring& line) {
            return MeasureTextSize(line, fontFamily, fontSize, false, false, false).width;
        });
    // No picture for a text without lines or a control without width.
    rendered = CreateSolidImage(layoutWidth, static_cast<int>(lines.size()) * em.height, backColor);
    if (!rendered) return;
    Gdiplus::Graphics graphics(rendered.get());
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    for (size_t i = 0; i < lines.size(); ++i) {
        DrawTextAtPoint(graphics, lines[i], fontFamily, fontSize, Gdiplus::FontStyleRegular,
                        textColor,
                        Gdiplus::PointF(Gdiplus::REAL(textMarginLeft),
                                        Gdiplus::REAL(static_cast<int>(i) * em.height)));
    }
}

void LUIMultilineText::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    Layout(r.x, r.y, r.width, r.height);
    Gdiplus::SolidBrush brush{Gdiplus::Color(backColor)};
    graphics.FillRectangle(&brush, r.x, r.y, r.width, r.height);
    if (!rendered) return;
    const int renderedHeight = static_cast<int>(rendered->GetHeight());
    const float offset =
        renderedHeight > r.height ? (renderedHeight - r.height) * scrollFraction : 0.0f;
    graphics.DrawImage(rendered.get(), Gdiplus::REAL(r.x), Gdiplus::REAL(r.y), 0.0f, offset,
                       Gdiplus::REAL(rendered->GetWidth()), Gdiplus::REAL(r.height),
                       Gdiplus::UnitPixel);
}
