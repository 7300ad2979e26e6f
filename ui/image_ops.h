// Images the toolkit makes itself: solid colours, copies of areas, nine-slice scaling. All
// are 32 bits per pixel with alpha.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <memory>

// A toolkit picture: a 32-bit ARGB bitmap that draws itself at any size. GDI+ resamples many
// times slower than it copies, so a picture drawn at another size than its own is resampled
// once into a copy that later frames copy. Pictures do not change once drawn.
class Picture : public Gdiplus::Bitmap {
public:
    // A transparent picture; its status is not Ok when w or h is not positive.
    Picture(int w, int h);
    // The picture stretched to w x h at (x, y) with the graphics' resampling.
    void DrawAt(Gdiplus::Graphics& graphics, int x, int y, int w, int h);

private:
    std::unique_ptr<Gdiplus::Bitmap> fitted;  // the copy at the last drawn size
};

using ImagePtr = std::unique_ptr<Picture>;

// A w x h image of one ARGB colour; null when w or h is not positive.
ImagePtr CreateSolidImage(int w, int h, Gdiplus::ARGB argb);

// A copy of an area of `image` (null when the image is null or the area cannot be copied).
ImagePtr CopyImageArea(Gdiplus::Bitmap* image, int x, int y, int w, int h);
ImagePtr CopyWholeImage(Gdiplus::Bitmap* image);

// Slice `index` of a vertical strip of `count` equal pictures stacked from the top (the
// slice height is the integer quotient of the strip height by count).
ImagePtr CopyStripSlice(Gdiplus::Bitmap* strip, int count, int index);

// The nine parts of a w x h area cut by the four insets, row by row. When two insets cover
// the whole width (or height) the middle column (row) has width (height) 0.
std::array<Gdiplus::Rect, 9> NineSliceRects(int w, int h, int left, int top, int right,
                                            int bottom);

// Resizes keeping the corners, stretching the edges along one axis and the centre along
// both. Returns the image itself when it already has the size; otherwise the source is
// released and the new image returned.
ImagePtr NineSliceScale(ImagePtr image, int w, int h, int left, int top, int right,
                        int bottom);
