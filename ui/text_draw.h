// Drawing text in a control's font. Fonts are made straight from the family name: a family
// that does not exist draws nothing (unlike measuring, which falls back).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

// Text laid out in a rectangle (wrapping inside it); `format` may be null.
void DrawTextInRect(Gdiplus::Graphics& graphics, const std::wstring& text,
                    const std::wstring& family, int size, int style, Gdiplus::ARGB color,
                    const Gdiplus::RectF& rect, const Gdiplus::StringFormat* format);

// Text drawn from a point, without a string format.
void DrawTextAtPoint(Gdiplus::Graphics& graphics, const std::wstring& text,
                     const std::wstring& family, int size, int style, Gdiplus::ARGB color,
                     const Gdiplus::PointF& origin);
