// Pure geometry of the toolkit: DPI scaling, nine-slice parts, rounded shapes, layout and
// hit tests.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ui/image_ops.h"
#include "ui/lui_button.h"
#include "ui/round_shapes.h"
#include "ui_test_support.h"

TEST(LUIWinScale, RoundsHalvesAwayFromZero) {
    const struct { int dpi, value, scaled; } cases[] = {
        {96, 16, 16},   {96, -7, -7},   {120, 10, 13},  {120, 2, 3},    {120, -2, -3},
        {144, 1, 2},    {144, -1, -2},  {144, 16, 24},  {144, 632, 948}, {192, 16, 32},
        {192, -5, -10}, {192, 0, 0},
    };
    LUIWin window;
    for (const auto& c : cases) {
        window.dpi = c.dpi;
        EXPECT_EQ(window.Scale(c.value), c.scaled) << c.value << " at " << c.dpi;
    }
}

TEST(NineSliceRects, PartsAndOversizedInsets) {
    using R = Gdiplus::Rect;
    const struct {
        int w, h, l, t, r, b;
        std::array<R, 9> parts;
    } cases[] = {
        {176, 64, 15, 15, 15, 15,
         {R(0, 0, 15, 15), R(15, 0, 146, 15), R(161, 0, 15, 15), R(0, 15, 15, 34),
          R(15, 15, 146, 34), R(161, 15, 15, 34), R(0, 49, 15, 15), R(15, 49, 146, 15),
          R(161, 49, 15, 15)}},
        // Insets as wide as (or wider than) the target leave the middle column and row empty.
        {20, 30, 15, 15, 15, 15,
         {R(0, 0, 15, 15), R(15, 0, 0, 15), R(5, 0, 15, 15), R(0, 15, 15, 0), R(15, 15, 0, 0),
          R(5, 15, 15, 0), R(0, 15, 15, 15), R(15, 15, 0, 15), R(5, 15, 15, 15)}},
        {100, 40, 0, 10, 0, 10,
         {R(0, 0, 0, 10), R(0, 0, 100, 10), R(100, 0, 0, 10), R(0, 10, 0, 20), R(0, 10, 100, 20),
          R(100, 10, 0, 20), R(0, 30, 0, 10), R(0, 30, 100, 10), R(100, 30, 0, 10)}},
    };
    for (const auto& c : cases) {
        const auto parts = NineSliceRects(c.w, c.h, c.l, c.t, c.r, c.b);
        for (size_t i = 0; i < 9; ++i) {
            EXPECT_TRUE(parts[i].Equals(c.parts[i]))
                << c.w << "x" << c.h << " part " << i << ": " << parts[i].X << "," << parts[i].Y
                << " " << parts[i].Width << "x" << parts[i].Height;
        }
    }
}

namespace {

std::vector<Gdiplus::PointF> PathPoints(const Gdiplus::GraphicsPath& path) {
    std::vector<Gdiplus::PointF> points(static_cast<size_t>(path.GetPointCount()));
    if (!points.empty()) path.GetPathPoints(points.data(), static_cast<INT>(points.size()));
    return points;
}

}  // namespace

TEST(FillRoundRect, RadiusIsAtMostHalfTheShorterSide) {
    StartToolkit();
    const struct { float w, h, radius, used; } cases[] = {
        {100, 20, 15, 10}, {100, 20, 5, 5}, {100, 20, 10, 10}, {30, 80, 40, 15},
    };
    for (const auto& c : cases) {
        Gdiplus::GraphicsPath path;
        AddRoundRectPath(path, 3, 4, c.w, c.h, c.radius);
        const auto points = PathPoints(path);
        ASSERT_FALSE(points.empty());
        // The path starts with the top edge from x + r to x + w - r.
        EXPECT_FLOAT_EQ(points.front().X, 3 + c.used) << c.radius;
        EXPECT_FLOAT_EQ(points.front().Y, 4);
        Gdiplus::RectF bounds;
        path.GetBounds(&bounds);
        EXPECT_NEAR(bounds.Width, c.w, 0.01) << c.radius;
        EXPECT_NEAR(bounds.Height, c.h, 0.01) << c.radius;
    }
}

TEST(FillRoundProgress, ChordMeetsTheArcsInEachCase) {
    StartToolkit();
    const float x = 10, y = 5, w = 200, h = 20, radius = 10;
    // Inside the left cap, in the straight part, inside the right cap.
    for (double fraction : {0.02, 0.03, 0.25, 0.5, 0.95, 0.98}) {
        Gdiplus::GraphicsPath path;
        ASSERT_TRUE(AddRoundProgressPath(path, x, y, w, h, radius, fraction));
        const float cut = static_cast<float>(x + w * fraction);
        Gdiplus::RectF bounds;
        path.GetBounds(&bounds);
        EXPECT_NEAR(bounds.X, x, 0.01) << fraction;
        EXPECT_NEAR(bounds.X + bounds.Width, cut, 0.01) << fraction;
        // Every point of the outline lies on or left of the cut, and on the bar.
        int onChord = 0;
        for (const auto& p : PathPoints(path)) {
            EXPECT_LE(p.X, cut + 0.01f) << fraction;
            EXPECT_GE(p.Y, y - 0.01f);
            EXPECT_LE(p.Y, y + h + 0.01f);
            if (std::fabs(p.X - cut) < 0.01f) ++onChord;
        }
        EXPECT_GE(onChord, 2) << fraction;
    }
}

TEST(FillRoundProgress, EndsAndFractionsOutsideTheBar) {
    StartToolkit();
    const struct { double fraction; float left, right, top, bottom; } cases[] = {
        {0.0, 10, 10, 15, 35},   // one vertical line at the left end, between y + R and y + H - R
        {1.0, 10, 210, 5, 45},   // the whole bar
        {1.5, 10, 210, 5, 45},   // clamped
        {-0.5, 10, 10, 15, 35},  // clamped
        {HUGE_VAL, 10, 210, 5, 45},
    };
    for (const auto& c : cases) {
        Gdiplus::GraphicsPath path;
        ASSERT_TRUE(AddRoundProgressPath(path, 10, 5, 200, 40, 10, c.fraction));
        Gdiplus::RectF bounds;
        path.GetBounds(&bounds);
        EXPECT_NEAR(bounds.X, c.left, 0.01) << c.fraction;
        EXPECT_NEAR(bounds.X + bounds.Width, c.right, 0.01) << c.fraction;
        EXPECT_NEAR(bounds.Y, c.top, 0.01) << c.fraction;
        EXPECT_NEAR(bounds.Y + bounds.Height, c.bottom, 0.01) << c.fraction;
    }
    Gdiplus::GraphicsPath none;
    EXPECT_FALSE(AddRoundProgressPath(none, 10, 5, 200, 20, 10, std::nan("")));
    EXPECT_EQ(none.GetPointCount(), 0);
}

TEST(ILUIChildLayout, AlignsInTheContentArea) {
    LUIWin page;
    PreparePage(page, 632, 432);  // content 600 x 400
    auto* control = new LUIButton(&page);
    const struct {
        const char* what;
        void (*apply)(ILUIChild&);
        int x, y, w, h;
    } cases[] = {
        {"AlignRight", [](ILUIChild& c) { c.SetSize(32, 32); c.AlignRight(10, 10); }, 558, 10, 32, 32},
        {"AlignRightBottom", [](ILUIChild& c) { c.SetSize(88, 32); c.AlignRightBottom(20, 72); }, 492, 296, 88, 32},
        {"CenterX odd", [](ILUIChild& c) { c.SetSize(201, 56); c.CenterX(252); }, 199, 252, 201, 56},
        {"CenterXBottom", [](ILUIChild& c) { c.SetSize(60, 32); c.CenterXBottom(20); }, 270, 348, 60, 32},
        {"FillParent", [](ILUIChild& c) { c.FillParent(5, 6, 7, 8); }, 5, 6, 588, 386},
        {"Offsets", [](ILUIChild& c) { c.SetRect(10, 10, 5, 5); c.OffsetX(-3); c.OffsetY(4); }, 7, 14, 5, 5},
    };
    for (const auto& c : cases) {
        c.apply(*control);
        EXPECT_EQ(control->x, c.x) << c.what;
        EXPECT_EQ(control->y, c.y) << c.what;
        EXPECT_EQ(control->width, c.w) << c.what;
        EXPECT_EQ(control->height, c.h) << c.what;
    }
    // Content (0, 0) lies at the margins in client pixels.
    control->SetRect(0, 0, 10, 10);
    EXPECT_EQ(control->ClientRect().x, 16);
    EXPECT_EQ(control->ClientRect().y, 16);
}

TEST(ILUIChildHitTest, AllFourEdgesAreInside) {
    LUIWin page;
    PreparePage(page);
    auto* control = new LUIButton(&page);
    control->SetRect(10, 20, 30, 40);
    const struct { int x, y; bool inside; } cases[] = {
        {10, 20, true},  {40, 20, true},  {10, 60, true},  {40, 60, true},  {25, 40, true},
        {9, 20, false},  {41, 30, false}, {20, 19, false}, {20, 61, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(control->HitTest(ContentPoint(page, c.x, c.y)), c.inside) << c.x << "," << c.y;
    }
    // Client points left of the margin are far outside (unsigned words), not negative.
    EXPECT_FALSE(control->HitTest(MAKELPARAM(2, 30)));
}
