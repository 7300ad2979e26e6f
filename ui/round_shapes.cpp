#include "ui/round_shapes.h"

#include <algorithm>
#include <cmath>

namespace {

using Gdiplus::REAL;

REAL FitRadius(REAL w, REAL h, REAL radius) {
    const REAL shorter = std::min(w, h);
    return shorter > 2 * radius ? radius : shorter * 0.5f;
}

REAL Degrees(double radians) { return static_cast<REAL>(radians * 180.0 / 3.141592654); }

}  // namespace

void AddRoundRectPath(Gdiplus::GraphicsPath& path, REAL x, REAL y, REAL w, REAL h, REAL radius) {
    const REAL r = FitRadius(w, h, radius);
    const REAL d = 2 * r;
    path.AddLine(x + r, y, x + w - r, y);
    path.AddArc(x + w - d, y, d, d, 270, 90);
    path.AddLine(x + w, y + r, x + w, y + h - r);
    path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
    path.AddLine(x + r, y + h, x + w - r, y + h);
    path.AddArc(x, y + h - d, d, d, 90, 90);
    path.AddLine(x, y + r, x, y + h - r);
    path.AddArc(x, y, d, d, 180, 90);
}

void FillRoundRect(Gdiplus::Graphics& graphics, REAL x, REAL y, REAL w, REAL h, REAL radius,
                   Gdiplus::ARGB outlineColor, REAL penWidth, Gdiplus::ARGB fillColor) {
    Gdiplus::GraphicsPath path;
    AddRoundRectPath(path, x, y, w, h, radius);
    Gdiplus::Pen pen(Gdiplus::Color(outlineColor), penWidth);
    graphics.DrawPath(&pen, &path);
    const Gdiplus::ARGB fill = (fillColor >> 24) == 0 ? outlineColor : fillColor;
    Gdiplus::SolidBrush brush{Gdiplus::Color(fill)};
    graphics.FillPath(&brush, &path);
}

bool AddRoundProgressPath(Gdiplus::GraphicsPath& path, REAL x, REAL y, REAL w, REAL h,
                          REAL radius, double fraction) {
    if (std::isnan(fraction)) return false;
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    const REAL r = FitRadius(w, h, radius);
    const REAL d = 2 * r;
    const REAL p = static_cast<REAL>(w * clamped);
    if (r > p) {
        // The cut lies inside the left cap: a chord at x + p closed by two short arcs.
        const double s = std::sqrt(double(r) * r - double(r - p) * (r - p));
        const REAL a = Degrees(std::asin(s / r));
        const REAL top = static_cast<REAL>(r - s);
        path.AddLine(x + p, y + top, x + p, y + h - top);
        path.AddArc(x, y + h - d, d, d, 180 - a, a);
        path.AddLine(x, y + h - r, x, y + r);
        path.AddArc(x, y, d, d, 180, a);
    } else if (p <= w - r) {
        path.AddLine(x + r, y, x + p, y);
        path.AddLine(x + p, y, x + p, y + h);
        path.AddLine(x + p, y + h, x + r, y + h);
        path.AddArc(x, y + h - d, d, d, 90, 90);
        path.AddLine(x, y + h - r, x, y + r);
        path.AddArc(x, y, d, d, 180, 90);
    } else {
        // The cut lies inside the right cap.
        const double q = r - (w - p);
        const double s = std::sqrt(double(r) * r - q * q);
        const REAL a = Degrees(std::asin(s / r));
        const REAL top = static_cast<REAL>(r - s);
        path.AddLine(x + r, y, x + w - r, y);
        path.AddArc(x + w - d, y, d, d, 270, 90 - a);
        path.AddLine(x + p, y + top, x + p, y + h - top);
        path.AddArc(x + w - d, y + h - d, d, d, a, 90 - a);
        path.AddLine(x + r, y + h, x + w - r, y + h);
        path.AddArc(x, y + h - d, d, d, 90, 90);
        path.AddLine(x, y + h - r, x, y + r);
        path.AddArc(x, y, d, d, 180, 90);
    }
    return true;
}

void FillRoundProgress(Gdiplus::Graphics& graphics, REAL x, REAL y, REAL w, REAL h, REAL radius,
                       Gdiplus::ARGB color, double fraction) {
    Gdiplus::GraphicsPath path;
    if (!AddRoundProgressPath(path, x, y, w, h, radius, fraction)) return;
    Gdiplus::Pen pen(Gdiplus::Color(color), 1.0f);
    graphics.DrawPath(&pen, &path);
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.FillPath(&brush, &path);
}
