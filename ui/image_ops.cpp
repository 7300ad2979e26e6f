#include "ui/image_ops.h"

#include <cstring>

Picture::Picture(int w, int h) : Gdiplus::Bitmap(w, h, PixelFormat32bppARGB) {}

void Picture::DrawAt(Gdiplus::Graphics& graphics, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    if (static_cast<UINT>(w) == GetWidth() && static_cast<UINT>(h) == GetHeight()) {
        graphics.DrawImage(this, x, y, w, h);
        return;
    }
    if (!fitted || fitted->GetWidth() != static_cast<UINT>(w) ||
        fitted->GetHeight() != static_cast<UINT>(h)) {
        // Premultiplied, as the frame's back buffer is, so drawing the copy is a plain blend.
        fitted = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppPARGB);
        Gdiplus::Graphics resampler(fitted.get());
        resampler.SetInterpolationMode(graphics.GetInterpolationMode());
        resampler.SetPixelOffsetMode(graphics.GetPixelOffsetMode());
        resampler.DrawImage(this, 0, 0, w, h);
    }
    graphics.DrawImage(fitted.get(), x, y, w, h);
}

ImagePtr CreateSolidImage(int w, int h, Gdiplus::ARGB argb) {
    if (w <= 0 || h <= 0) return nullptr;
    auto image = std::make_unique<Picture>(w, h);
    Gdiplus::Rect all(0, 0, w, h);
    Gdiplus::BitmapData data = {};
    if (image->GetLastStatus() != Gdiplus::Ok ||
        image->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
            Gdiplus::Ok) {
        return nullptr;
    }
    for (int row = 0; row < h; ++row) {
        auto* pixel = reinterpret_cast<Gdiplus::ARGB*>(static_cast<BYTE*>(data.Scan0) +
                                                       row * data.Stride);
        for (int column = 0; column < w; ++column) pixel[column] = argb;
    }
    image->UnlockBits(&data);
    return image;
}

ImagePtr CopyImageArea(Gdiplus::Bitmap* image, int x, int y, int w, int h) {
    if (!image || w <= 0 || h <= 0) return nullptr;
    Gdiplus::Rect area(x, y, w, h);
    Gdiplus::BitmapData source = {};
    if (image->LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &source) !=
        Gdiplus::Ok) {
        return nullptr;
    }
    auto copy = std::make_unique<Picture>(w, h);
    Gdiplus::Rect all(0, 0, w, h);
    Gdiplus::BitmapData target = {};
    const bool copied =
        copy->GetLastStatus() == Gdiplus::Ok &&
        copy->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &target) ==
            Gdiplus::Ok;
    if (copied) {
        for (int row = 0; row < h; ++row) {
            std::memcpy(static_cast<BYTE*>(target.Scan0) + row * target.Stride,
                        static_cast<const BYTE*>(source.Scan0) + row * source.Stride,
                        static_cast<size_t>(w) * 4);
        }
        copy->UnlockBits(&target);
    }
    image->UnlockBits(&source);
    if (!copied) return nullptr;
    return copy;
}

ImagePtr CopyWholeImage(Gdiplus::Bitmap* image) {
    if (!image) return nullptr;
    return CopyImageArea(image, 0, 0, static_cast<int>(image->GetWidth()),
                         static_cast<int>(image->GetHeight()));
}

ImagePtr CopyStripSlice(Gdiplus::Bitmap* strip, int count, int index) {
    if (!strip || count <= 0) return nullptr;
    const float sliceHeight = static_cast<float>(static_cast<int>(strip->GetHeight()) / count);
    return CopyImageArea(strip, 0, static_cast<int>(index * sliceHeight),
                         static_cast<int>(strip->GetWidth()), static_cast<int>(sliceHeight));
}

std::array<Gdiplus::Rect, 9> NineSliceRects(int w, int h, int left, int top, int right,
                                            int bottom) {
    const int midW =
        static_cast<unsigned>(left + right) < static_cast<unsigned>(w) ? w - left - right : 0;
    const int midH =
        static_cast<unsigned>(top + bottom) < static_cast<unsigned>(h) ? h - top - bottom : 0;
    return {{
        {0, 0, left, top}, {left, 0, midW, top}, {w - right, 0, right, top},
        {0, top, left, midH}, {left, top, midW, midH}, {w - right, top, right, midH},
        {0, h - bottom, left, bottom}, {left, h - bottom, midW, bottom},
        {w - right, h - bottom, right, bottom},
    }};
}

ImagePtr NineSliceScale(ImagePtr image, int w, int h, int left, int top, int right,
                        int bottom) {
    if (!image) return image;
    const int sourceW = static_cast<int>(image->GetWidth());
    const int sourceH = static_cast<int>(image->GetHeight());
    if (sourceW == w && sourceH == h) return image;
    ImagePtr target = CreateSolidImage(w, h, 0);
    if (!target) return nullptr;
    Gdiplus::Graphics graphics(target.get());
    const auto targetParts = NineSliceRects(w, h, left, top, right, bottom);
    const auto sourceParts = NineSliceRects(sourceW, sourceH, left, top, right, bottom);
    for (size_t i = 0; i < targetParts.size(); ++i) {
        const Gdiplus::Rect& t = targetParts[i];
        const Gdiplus::Rect& s = sourceParts[i];
        if (t.Width == 0 || t.Height == 0 || s.Width == 0 || s.Height == 0) continue;
        graphics.DrawImage(image.get(), t, s.X, s.Y, s.Width, s.Height, Gdiplus::UnitPixel);
    }
    return target;
}
