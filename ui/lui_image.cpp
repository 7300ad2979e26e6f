#include "ui/lui_image.h"

#include "ui/png_resource.h"
#include "ui/round_shapes.h"
#include "ui/toolkit_module.h"

namespace {

const Gdiplus::REAL kPlaceholderRadius = 5;
const Gdiplus::ARGB kPlaceholderOutline = 0xFFB4B4B4;
const Gdiplus::ARGB kPlaceholderFill = 0xFFFFFFFF;

}  // namespace

LUIImage::LUIImage(LUIWin* owner) : ILUIChild(owner) {}

LUIImage::~LUIImage() = default;

void LUIImage::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    if (picture) {
        picture->DrawAt(graphics, r.x, r.y, r.width, r.height);
        return;
    }
    FillRoundRect(graphics, Gdiplus::REAL(r.x), Gdiplus::REAL(r.y), Gdiplus::REAL(r.width),
                  Gdiplus::REAL(r.height), kPlaceholderRadius, kPlaceholderOutline, 1,
                  kPlaceholderFill);
}

void LUIImage::LoadImage(int resourceId) {
    picture.reset();
    picture = LoadPngResource(ToolkitModule.instance, resourceId);
}
