#include "ui/png_resource.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>

namespace {

// GDI+ for the picture tests, started and shut down around each test.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};

}  // namespace

TEST(LoadPngResource, OwnsItsPixels) {
    GdiplusSession gdiplus;
    std::unique_ptr<Gdiplus::Bitmap> image = LoadPngResource(nullptr, 130);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->GetLastStatus(), Gdiplus::Ok);
    ASSERT_EQ(image->GetWidth(), 4u);
    ASSERT_EQ(image->GetHeight(), 2u);
    // The resource memory is gone by now; the pixels must still be the picture's.
    const struct { int x, y; Gdiplus::ARGB argb; } pixels[] = {
        {0, 0, 0xFFFF0000}, {1, 0, 0xFF00FF00}, {2, 0, 0xFF0000FF},
        {0, 1, 0xFFFFFFFF}, {1, 1, 0xFF000000}, {2, 1, 0xFF2369FC},
    };
    for (const auto& p : pixels) {
        Gdiplus::Color color;
        ASSERT_EQ(image->GetPixel(p.x, p.y, &color), Gdiplus::Ok);
        EXPECT_EQ(color.GetValue(), p.argb) << p.x << "," << p.y;
    }
    Gdiplus::Color clear;
    image->GetPixel(3, 0, &clear);
    EXPECT_EQ(clear.GetAlpha(), 0);
}

TEST(LoadPngResource, MissingAndDamagedPictures) {
    GdiplusSession gdiplus;
    EXPECT_EQ(LoadPngResource(nullptr, 999), nullptr);
    std::unique_ptr<Gdiplus::Bitmap> damaged = LoadPngResource(nullptr, 131);
    ASSERT_NE(damaged, nullptr);
    EXPECT_NE(damaged->GetLastStatus(), Gdiplus::Ok);
}
