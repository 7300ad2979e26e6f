#include "ui/lui_progressbar.h"

#include "ui/round_shapes.h"

LUIProgressbar::LUIProgressbar(LUIWin* owner) : ILUIChild(owner) {}

LUIProgressbar::~LUIProgressbar() = default;

void LUIProgressbar::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    const ClientBox r = ClientRect();
    const Gdiplus::REAL radius = static_cast<Gdiplus::REAL>(r.height / 2);
    const Gdiplus::REAL left = Gdiplus::REAL(r.x);
    const Gdiplus::REAL top = Gdiplus::REAL(r.y);
    FillRoundRect(graphics, left, top, Gdiplus::REAL(r.width), Gdiplus::REAL(r.height), radius,
                  trackColor, 1, trackColor);
    FillRoundProgress(graphics, left, top, Gdiplus::REAL(r.width), Gdiplus::REAL(r.height), radius,
                      barColor, static_cast<double>(value) / maximum);
}
