#include "ui/text_measure.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cmath>
#include <map>
#include <tuple>

#include "base/handles.h"
#include "base/locker.h"
#include "ui/font_cache.h"

namespace {

using MeasureKey = std::tuple<std::wstring, std::wstring, int, int>;

// Controls measure their texts in every frame (the edit field measures each shortening
// round), so sizes are remembered. The table is emptied when it grows past a bound, which
// only texts that keep changing reach.
const size_t kRememberedSizes = 1024;

struct MeasureCacheRecord {
    kbase::Locker lock;
    std::map<MeasureKey, TextSize> sizes;
};

// Never destroyed, like the font cache: measuring may happen during process exit.
MeasureCacheRecord& MeasureCache() {
    static auto* cache = new MeasureCacheRecord;
    return *cache;
}

TextSize MeasureInNewGraphics(const std::wstring& text, const std::wstring& family, int size,
                              int style) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    Gdiplus::Graphics graphics(dc.get());
    const Gdiplus::Font* font = CachedFont(family, size, style);
    if (!font) font = CachedFont(L"", size, style);  // the generic sans-serif family
    if (!font) return {0, 0};
    Gdiplus::RectF bounds;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), font,
                           Gdiplus::RectF(0, 0, 0, 0), Gdiplus::StringFormat::GenericTypographic(),
                           &bounds);
    return {static_cast<int>(std::ceil(bounds.Width)), static_cast<int>(std::ceil(bounds.Height))};
}

}  // namespace

TextSize MeasureTextSize(const std::wstring& text, const std::wstring& family, int size,
                         bool bold, bool italic, bool underline) {
    const int style = (bold ? Gdiplus::FontStyleBold : 0) |
                      (italic ? Gdiplus::FontStyleItalic : 0) |
                      (underline ? Gdiplus::FontStyleUnderline : 0);
    MeasureCacheRecord& cache = MeasureCache();
    const kbase::ScopedLock<kbase::Locker> hold(cache.lock);
    MeasureKey key(text, family, size, style);
    const auto found = cache.sizes.find(key);
    if (found != cache.sizes.end()) return found->second;
    const TextSize measured = MeasureInNewGraphics(text, family, size, style);
    if (cache.sizes.size() >= kRememberedSizes) cache.sizes.clear();
    cache.sizes.emplace(std::move(key), measured);
    return measured;
}
