// Renders frames of an install-like page (632 x 432 at 96 DPI, background and a dozen
// controls) at 96 and at 192 DPI and prints the mean time per frame.
//   render_bench.exe [frames]
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_edit.h"
#include "ui/lui_image.h"
#include "ui/lui_link.h"
#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"
#include "ui/lui_win.h"
#include "ui/png_resource.h"
#include "ui/toolkit_module.h"

namespace {

void BuildPage(LUIWin& page, int dpi) {
    page.Create(L"render bench");
    page.dpi = dpi;
    page.SetSize(page.Scale(632), page.Scale(432));
    page.SetBackground(129, page.Scale(16), page.Scale(16), page.Scale(16), page.Scale(16), true);
    auto* close = new LUIButton(&page);
    close->SetSize(page.Scale(32), page.Scale(32));
    close->AlignRight(page.Scale(10), page.Scale(10));
    close->LoadImageStrip(130, 4, false);
    auto* logo = new LUIImage(&page);
    logo->SetRect(page.Scale(260), page.Scale(76), page.Scale(80), page.Scale(80));
    logo->LoadImage(133);
    auto* title = new LUIText(&page);
    title->fontSize = page.Scale(24);
    title->SetRect(page.Scale(20), page.Scale(15), 0, 0);
    title->SetText(L"岚文看图");
    auto* install = new LUIButton(&page);
    install->SetRect(page.Scale(200), page.Scale(234), page.Scale(200), page.Scale(56));
    install->fontSize = page.Scale(20);
    install->fontStyle = Gdiplus::FontStyleBold;
    install->textColors = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    install->LoadImageStrip(134, 4, false);
    install->text = L"立即安装";
    for (int i = 0; i < 2; ++i) {
        auto* box = new LUICheckBox(&page);
        box->boxWidth = box->boxHeight = page.Scale(16);
        box->fontSize = page.Scale(12);
        box->LoadImageStrip(176);
        box->SetRect(page.Scale(20), page.Scale(330 + 24 * i), 0, 0);
        box->SetText(i ? L"设为默认看图软件" : L"我已阅读并同意");
        box->checked = 1;
    }
    auto* licence = new LUILink(&page, true);
    licence->fontSize = page.Scale(12);
    licence->linkColors = {0xFF2369FC, 0xFF2369FC, 0xFF1C54CA, 0xFF888888};
    licence->SetText(L"《用户许可协议》");
    licence->SetRect(page.Scale(130), page.Scale(330), licence->width, licence->height);
    auto* path = new LUIEdit(&page);
    path->SetRect(page.Scale(20), page.Scale(296), page.Scale(460), page.Scale(32));
    path->fontSize = page.Scale(12);
    ImagePtr frame = LoadPngResource(ToolkitModule.instance, 136);
    path->SetImageStrip(frame.get());
    path->SetText(L"C:\\Program Files (x86)\\Larwen Software\\LarwenPic");
    for (int i = 0; i < 2; ++i) {
        auto* small = new LUIButton(&page);
        small->SetSize(page.Scale(88), page.Scale(32));
        small->AlignRightBottom(page.Scale(20 + 100 * i), page.Scale(20));
        small->fontSize = page.Scale(14);
        small->LoadImageStrip(i ? 178 : 177, i ? 3 : 4, true);
        small->imageScale = 2.0f;
        small->text = i ? L"返回" : L"立即安装";
    }
    auto* progress = new LUIProgressbar(&page);
    progress->SetRect(page.Scale(20), page.Scale(200), page.Scale(560), page.Scale(8));
    progress->value = 42;
}

double MillisecondsPerFrame(int dpi, int frames) {
    LUIWin page;
    BuildPage(page, dpi);
    if (!page.RenderFrame()) return -1;  // builds the back buffer and fits the pictures
    const ClientBox client = page.GetClientBox();
    std::printf("%3d DPI: %d x %d pixels, ", dpi, client.width, client.height);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; ++i) page.RenderFrame();
    QueryPerformanceCounter(&end);
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / frames;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int frames = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100;
    if (frames <= 0 || !ToolkitModule.Start(GetModuleHandleW(nullptr))) return 2;
    for (int dpi : {96, 192}) {
        const double ms = MillisecondsPerFrame(dpi, frames);
        if (ms < 0) {
            std::printf("no frame could be rendered\n");
            return 1;
        }
        std::printf("%.2f ms per frame (%d frames, budget 40 ms)\n", ms, frames);
    }
    return 0;
}
