#include "ui/text_measure.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cmath>
#include <memory>

#include "ui/gdi_handles.h"

namespace {

// A font of `family`, falling back to the generic sans-serif family for a family or font
// that cannot be made.
std::unique_ptr<Gdiplus::Font> MeasuringFont(const std::wstring& family, int size, int style) {
    const Gdiplus::REAL emSize = static_cast<Gdiplus::REAL>(size);
    Gdiplus::FontFamily named(family.c_str());
    if (named.GetLastStatus() == Gdiplus::Ok) {
        auto font = std::make_unique<Gdiplus::Font>(&named, emSize, style, Gdiplus::UnitPixel);
        if (font->GetLastStatus() == Gdiplus::Ok) return font;
    }
    return std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), emSize,
                                           style, Gdiplus::UnitPixel);
}

}  // namespace

TextSize MeasureTextSize(const std::wstring& text, const std::wstring& family, int size,
                         bool bold, bool italic, bool underline) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    Gdiplus::Graphics graphics(dc.get());
    const int style = (bold ? Gdiplus::FontStyleBold : 0) |
                      (italic ? Gdiplus::FontStyleItalic : 0) |
                      (underline ? Gdiplus::FontStyleUnderline : 0);
    const auto font = MeasuringFont(family, size, style);
    Gdiplus::RectF bounds;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), font.get(),
                           Gdiplus::RectF(0, 0, 0, 0), Gdiplus::StringFormat::GenericTypographic(),
                           &bounds);
    return {static_cast<int>(std::ceil(bounds.Width)), static_cast<int>(std::ceil(bounds.Height))};
}
