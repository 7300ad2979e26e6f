#include "ui/text_draw.h"

#include "ui/font_cache.h"

void DrawTextInRect(Gdiplus::Graphics& graphics, const std::wstring& text,
                    const std::wstring& family, int size, int style, Gdiplus::ARGB color,
                    const Gdiplus::RectF& rect, const Gdiplus::StringFormat* format) {
    const Gdiplus::Font* font = CachedFont(family, size, style);
    if (!font) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font, rect, format, &brush);
}

void DrawTextAtPoint(Gdiplus::Graphics& graphics, const std::wstring& text,
                     const std::wstring& family, int size, int style, Gdiplus::ARGB color,
                     const Gdiplus::PointF& origin) {
    const Gdiplus::Font* font = CachedFont(family, size, style);
    if (!font) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font, origin, &brush);
}
