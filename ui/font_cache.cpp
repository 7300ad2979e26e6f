#include "ui/font_cache.h"

#include <map>
#include <memory>
#include <tuple>

#include "base/locker.h"

namespace {

using FontKey = std::tuple<std::wstring, int, int>;

struct FontCacheRecord {
    kbase::Locker lock;
    // Failures are kept too (as null), so a missing family is looked up only once.
    std::map<FontKey, std::unique_ptr<Gdiplus::Font>> fonts;
};

// Never destroyed: the toolkit's process record releases the fonts from its own destructor,
// which may run after the static objects of this file are gone.
FontCacheRecord& Cache() {
    static auto* cache = new FontCacheRecord;
    return *cache;
}

std::unique_ptr<Gdiplus::Font> MakeFont(const std::wstring& family, int size, int style) {
    const Gdiplus::REAL emSize = static_cast<Gdiplus::REAL>(size);
    std::unique_ptr<Gdiplus::Font> font;
    if (family.empty()) {
        font = std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), emSize,
                                               style, Gdiplus::UnitPixel);
    } else {
        Gdiplus::FontFamily named(family.c_str());
        if (named.GetLastStatus() != Gdiplus::Ok) return nullptr;
        font = std::make_unique<Gdiplus::Font>(&named, emSize, style, Gdiplus::UnitPixel);
    }
    if (font->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return font;
}

}  // namespace

Gdiplus::Font* CachedFont(const std::wstring& family, int size, int style) {
    FontCacheRecord& cache = Cache();
    const kbase::ScopedLock<kbase::Locker> hold(cache.lock);
    auto& fonts = cache.fonts;
    const FontKey key(family, size, style);
    auto found = fonts.find(key);
    if (found == fonts.end()) found = fonts.emplace(key, MakeFont(family, size, style)).first;
    return found->second.get();
}

void ReleaseCachedFonts() {
    FontCacheRecord& cache = Cache();
    const kbase::ScopedLock<kbase::Locker> hold(cache.lock);
    cache.fonts.clear();
}
