#include "ui/text_draw.h"

std::unique_ptr<Gdiplus::Font> CreateDrawingFont(const std::wstring& family, int size,
                                                 int style) {
    Gdiplus::FontFamily named(family.c_str());
    if (named.GetLastStatus() != Gdiplus::Ok) return nullptr;
    auto font = std::make_unique<Gdiplus::Font>(&named, static_cast<Gdiplus::REAL>(size), style,
                                                Gdiplus::UnitPixel);
    if (font->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return font;
}

void DrawTextInRect(Gdiplus::Graphics& graphics, const std::wstring& text,
                    const std::wstring& family, int size, int style, Gdiplus::ARGB color,
                    const Gdiplus::RectF& rect, const Gdiplus::StringFormat* format) {
    const auto font = CreateDrawingFont(family, size, style);
    if (!font) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font.get(), rect, format,
                        &brush);
}

void DrawTextAtPoint(Gdiplus::Graphics& graphics, const std::wstring& text,
                     const std::wstring& family, int size, int style, Gdiplus::ARGB color,
                     const Gdiplus::PointF& origin) {
    const auto font = CreateDrawingFont(family, size, style);
    if (!font) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font.get(), origin, &brush);
}
