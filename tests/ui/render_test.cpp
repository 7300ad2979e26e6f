// Frames and images checked by their pixels: colours and transparency at known points.
#include <gtest/gtest.h>

#include "ui/image_ops.h"
#include "ui/lui_button.h"
#include "ui/lui_image.h"
#include "ui/lui_progressbar.h"
#include "ui/round_shapes.h"
#include "ui_test_support.h"

namespace {

const Gdiplus::ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                    kYellow = 0xFFFFFF00, kGrey = 0xFF808080;

// A frame child that counts how often it is drawn.
class CountingChild : public ILUIChild {
public:
    using ILUIChild::ILUIChild;
    void Draw(Gdiplus::Graphics&, int, int, int, int) override { ++draws; }
    int draws = 0;
};

}  // namespace

TEST(NineSliceScale, KeepsCornersAndStretchesTheRest) {
    StartToolkit();
    // Grey picture with four differently coloured 15 x 15 corners.
    ImagePtr source = CreateSolidImage(56, 56, kGrey);
    {
        Gdiplus::Graphics graphics(source.get());
        const struct { int x, y; Gdiplus::ARGB color; } corners[] = {
            {0, 0, kRed}, {41, 0, kGreen}, {0, 41, kBlue}, {41, 41, kYellow}};
        for (const auto& c : corners) {
            Gdiplus::SolidBrush brush{Gdiplus::Color(c.color)};
            graphics.FillRectangle(&brush, c.x, c.y, 15, 15);
        }
    }
    ImagePtr scaled = NineSliceScale(std::move(source), 176, 64, 15, 15, 15, 15);
    ASSERT_NE(scaled, nullptr);
    ASSERT_EQ(scaled->GetWidth(), 176u);
    ASSERT_EQ(scaled->GetHeight(), 64u);
    const struct { int x, y; Gdiplus::ARGB color; } samples[] = {
        {0, 0, kRed},        {14, 14, kRed},       {161, 0, kGreen},  {175, 14, kGreen},
        {0, 49, kBlue},      {14, 63, kBlue},      {161, 49, kYellow}, {175, 63, kYellow},
        {88, 5, kGrey},      {5, 32, kGrey},       {88, 32, kGrey},
    };
    for (const auto& s : samples) {
        EXPECT_EQ(ImagePixel(*scaled, s.x, s.y), s.color) << s.x << "," << s.y;
    }
    // The right size already: the very same image comes back.
    Gdiplus::Bitmap* same = scaled.get();
    EXPECT_EQ(NineSliceScale(std::move(scaled), 176, 64, 15, 15, 15, 15).get(), same);
    // Insets wider than the target: the empty middle parts are skipped.
    ImagePtr small = NineSliceScale(CreateSolidImage(56, 56, kRed), 20, 10, 15, 15, 15, 15);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(ImagePixel(*small, 0, 0), kRed);
}

TEST(FillRoundProgress, FillsTheBarToTheFraction) {
    StartToolkit();
    const struct { double fraction; int filledUpTo; } cases[] = {{0.5, 100}, {0.25, 50}, {1.0, 200}};
    for (const auto& c : cases) {
        ImagePtr bar = CreateSolidImage(220, 40, 0);
        {
            Gdiplus::Graphics graphics(bar.get());
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
            FillRoundProgress(graphics, 10, 10, 200, 20, 10, kBlue, c.fraction);
        }
        EXPECT_EQ(ImagePixel(*bar, 10 + c.filledUpTo - 3, 20), kBlue) << c.fraction;
        EXPECT_EQ(ImagePixel(*bar, 30, 20), kBlue) << c.fraction;
        if (c.filledUpTo < 200) {
            EXPECT_EQ(ImagePixel(*bar, 10 + c.filledUpTo + 3, 20) >> 24, 0u) << c.fraction;
        }
        EXPECT_EQ(ImagePixel(*bar, 10, 10) >> 24, 0u) << "rounded corner";
    }
}

TEST(RenderFrame, ComposesBackgroundAndControls) {
    RecordingPage page;
    PreparePage(page, 200, 120);
    // A background with a transparent 16-pixel margin around an opaque white panel.
    page.background = CreateSolidImage(200, 120, 0);
    {
        Gdiplus::Graphics graphics(page.background.get());
        Gdiplus::SolidBrush white{Gdiplus::Color(0xFFFFFFFF)};
        graphics.FillRectangle(&white, 16, 16, 168, 88);
    }
    auto* disabledFour = new LUIButton(&page);
    disabledFour->SetRect(0, 0, 40, 20);
    ImagePtr strip4 = MakeStrip({kRed, kGreen, kBlue, kYellow}, 8, 8);
    disabledFour->SetImageStrip(strip4.get(), 4, false);
    disabledFour->state = 3;
    auto* disabledThree = new LUIButton(&page);
    disabledThree->SetRect(50, 0, 40, 20);
    ImagePtr strip3 = MakeStrip({kRed, kGreen, kBlue}, 8, 8);
    disabledThree->SetImageStrip(strip3.get(), 3, false);
    disabledThree->state = 3;
    auto* hover = new LUIButton(&page);
    hover->SetRect(100, 0, 40, 20);
    hover->SetImageStrip(strip3.get(), 3, false);
    hover->state = 1;
    auto* coloured = new LUIButton(&page);  // no pictures: the state colour
    coloured->SetRect(0, 40, 20, 20);
    coloured->backColors = {kRed, kGreen, kBlue, kYellow};
    coloured->state = 2;
    auto* hidden = new LUIButton(&page);
    hidden->SetRect(0, 40, 20, 20);
    hidden->backColors = {kGreen, kGreen, kGreen, kGreen};
    hidden->visible = false;
    auto* progress = new LUIProgressbar(&page);
    progress->SetRect(40, 40, 100, 20);
    progress->barColor = kBlue;
    progress->trackColor = kGrey;
    progress->value = 50;
    auto* placeholder = new LUIImage(&page);
    placeholder->SetRect(150, 40, 20, 20);

    ASSERT_NE(page.RenderFrame(), nullptr);
    const struct { int x, y; Gdiplus::ARGB color; const char* what; } samples[] = {
        {2, 2, 0, "transparent margin"},
        {198, 118, 0, "transparent margin"},
        {100, 100, 0xFFFFFFFF, "opaque panel"},
        {16 + 20, 16 + 10, kYellow, "disabled picture of a 4-state strip"},
        {16 + 70, 16 + 10, kRed, "disabled shows normal with 3 states"},
        {16 + 120, 16 + 10, kGreen, "hover picture"},
        {16 + 10, 16 + 50, kBlue, "pressed colour, hidden control not drawn"},
        {16 + 40 + 25, 16 + 50, kBlue, "filled part of the bar"},
        {16 + 40 + 75, 16 + 50, kGrey, "track"},
        {16 + 160, 16 + 50, 0xFFFFFFFF, "placeholder fill"},
    };
    for (const auto& s : samples) {
        const Gdiplus::ARGB pixel = FramePixel(page, s.x, s.y);
        if (s.color == 0) {
            EXPECT_EQ(pixel >> 24, 0u) << s.what;
        } else {
            EXPECT_EQ(pixel, s.color) << s.what << " at " << s.x << "," << s.y;
        }
    }
    EXPECT_EQ(page.RenderFrame(), page.memoryDc.get());
    page.closing = 1;
    EXPECT_EQ(page.RenderFrame(), nullptr);
}

TEST(RenderFrame, RefitsTheBackgroundOnlyWithANewBuffer) {
    LUIWin page;
    PreparePage(page, 120, 80);
    EXPECT_TRUE(page.SetBackground(999, 16, 16, 16, 16, true));  // missing picture
    ASSERT_NE(page.RenderFrame(), nullptr);
    ASSERT_NE(page.background, nullptr);
    EXPECT_EQ(FramePixel(page, 1, 1), 0xFFFFFFFFu);  // opaque white without a picture
    EXPECT_EQ(page.background->GetWidth(), 120u);

    // A nine-slice background follows a size change at the next frame.
    page.background = CreateSolidImage(56, 56, kBlue);
    page.SetSize(150, 90);
    ASSERT_NE(page.RenderFrame(), nullptr);
    EXPECT_EQ(page.background->GetWidth(), 150u);
    EXPECT_EQ(page.background->GetHeight(), 90u);
    EXPECT_EQ(FramePixel(page, 149, 89), kBlue);
    const Gdiplus::Bitmap* fitted = page.background.get();
    page.RenderFrame();
    EXPECT_EQ(page.background.get(), fitted);
}

TEST(LUIWinPaint, AtMostOneFramePer40Milliseconds) {
    LUIWin page;
    PreparePage(page, 120, 80);
    auto* child = new CountingChild(&page);
    // Waits on the clock the window reads: under Wine it is a tick the server updates, which
    // lags behind Sleep when the machine is busy.
    const auto waitTicks = [](ULONGLONG ms) {
        const ULONGLONG start = GetTickCount64();
        while (GetTickCount64() - start < ms) Sleep(10);
    };
    const auto paint = [&page] { SendMessageW(page.hwnd, WM_PAINT, 0, 0); };
    // Two paints at once draw one frame. On a busy machine they may come 40 ms apart or more
    // and then both draw, so the pair is sent again after a pause until it comes at once.
    bool checked = false;
    for (int attempt = 0; attempt < 5 && !checked; ++attempt) {
        waitTicks(60);
        const int before = child->draws;
        const ULONGLONG sent = GetTickCount64();
        paint();
        paint();
        if (GetTickCount64() - sent < 40) {
            EXPECT_EQ(child->draws, before + 1);
            checked = true;
        }
    }
    EXPECT_TRUE(checked) << "no two paints came within 40 ms of each other";
    // A paint 60 ms after the last frame draws again.
    const int drawn = child->draws;
    waitTicks(60);
    paint();
    EXPECT_EQ(child->draws, drawn + 1);
}

TEST(LUIButtonImages, NineSliceImagesAreKeptAtTheirScale) {
    LUIWin page;
    PreparePage(page, 200, 120);
    auto* button = new LUIButton(&page);
    ImagePtr strip = MakeStrip({kRed, kGreen, kBlue}, 56, 56);
    button->SetImageStrip(strip.get(), 3, true);
    button->imageScale = 2.0f;
    // A frame while the button has no width yet keeps its pictures for the real size.
    button->SetRect(0, 0, 0, 32);
    ASSERT_NE(page.RenderFrame(), nullptr);
    button->SetRect(0, 0, 88, 32);
    ASSERT_NE(page.RenderFrame(), nullptr);
    for (const ImagePtr& picture : button->images) {
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->GetWidth(), 176u);
        EXPECT_EQ(picture->GetHeight(), 64u);
    }
    const Gdiplus::Bitmap* kept = button->images[0].get();
    page.RenderFrame();
    EXPECT_EQ(button->images[0].get(), kept);
    EXPECT_EQ(FramePixel(page, 16 + 44, 16 + 16), kRed);
}

// Frames keep resampled copies of stretched pictures and a copy of the fitted background;
// each must follow a new size or a new picture at the next frame.
TEST(RenderFrame, StretchedPicturesAndTheBackgroundFollowChanges) {
    LUIWin page;
    PreparePage(page, 200, 120);
    auto* image = new LUIImage(&page);
    image->picture = CreateSolidImage(8, 8, kRed);
    {
        Gdiplus::Graphics graphics(image->picture.get());
        Gdiplus::SolidBrush blue{Gdiplus::Color(kBlue)};
        graphics.FillRectangle(&blue, 4, 0, 4, 8);  // the right half blue
    }
    const struct { int width; int sampleX; Gdiplus::ARGB left, right; } sizes[] = {
        {40, 30, kRed, kBlue}, {20, 15, kRed, kBlue}, {80, 70, kRed, kBlue},
    };
    for (const auto& s : sizes) {
        image->SetRect(0, 0, s.width, s.width);
        ASSERT_NE(page.RenderFrame(), nullptr);
        EXPECT_EQ(FramePixel(page, 16 + 2, 16 + 2), s.left) << s.width;
        EXPECT_EQ(FramePixel(page, 16 + s.sampleX, 16 + 2), s.right) << s.width;
        // Nothing of the picture is left outside its current rectangle.
        EXPECT_EQ(FramePixel(page, 16 + s.width + 2, 16 + 2), 0xFFFFFFFFu) << s.width;
    }
    image->picture = CreateSolidImage(8, 8, kGreen);
    page.background = CreateSolidImage(200, 120, kYellow);
    ASSERT_NE(page.RenderFrame(), nullptr);
    EXPECT_EQ(FramePixel(page, 16 + 2, 16 + 2), kGreen);
    EXPECT_EQ(FramePixel(page, 16 + 70, 16 + 2), kGreen);
    EXPECT_EQ(FramePixel(page, 190, 110), kYellow);
}
