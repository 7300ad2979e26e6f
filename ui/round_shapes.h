// Rounded rectangles (placeholders, progress tracks) and the filled part of a rounded bar.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// The outline of a rounded rectangle; a radius of half the shorter side or more becomes
// exactly half of it.
void AddRoundRectPath(Gdiplus::GraphicsPath& path, Gdiplus::REAL x, Gdiplus::REAL y,
                      Gdiplus::REAL w, Gdiplus::REAL h, Gdiplus::REAL radius);

// Outlined with `outlineColor` at `penWidth`, then filled with `fillColor`, or with the
// outline colour when the fill colour is fully transparent.
void FillRoundRect(Gdiplus::Graphics& graphics, Gdiplus::REAL x, Gdiplus::REAL y,
                   Gdiplus::REAL w, Gdiplus::REAL h, Gdiplus::REAL radius,
                   Gdiplus::ARGB outlineColor, Gdiplus::REAL penWidth, Gdiplus::ARGB fillColor);

// The part of the rounded bar (x, y, w, h, radius) left of x + w * fraction: a cut inside
// the left cap, in the straight part or inside the right cap. Fractions outside 0..1 are
// clamped; false (nothing added) for a fraction that is not a number.
bool AddRoundProgressPath(Gdiplus::GraphicsPath& path, Gdiplus::REAL x, Gdiplus::REAL y,
                          Gdiplus::REAL w, Gdiplus::REAL h, Gdiplus::REAL radius,
                          double fraction);

void FillRoundProgress(Gdiplus::Graphics& graphics, Gdiplus::REAL x, Gdiplus::REAL y,
                       Gdiplus::REAL w, Gdiplus::REAL h, Gdiplus::REAL radius,
                       Gdiplus::ARGB color, double fraction);
