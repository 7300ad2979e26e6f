// Shows every toolkit control in every state on one page drawn with the skin.
//   gallery.exe               shows the page; the close button ends it
//   gallery.exe --save FILE   renders one frame and writes it as a PNG with alpha
#include <windows.h>

#include <string>
#include <vector>

#include "ui/action_map.h"
#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_edit.h"
#include "ui/lui_icon_btn.h"
#include "ui/lui_image.h"
#include "ui/lui_link.h"
#include "ui/lui_multiline_text.h"
#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"
#include "ui/lui_win.h"
#include "ui/png_resource.h"
#include "ui/toolkit_module.h"

namespace {

const Gdiplus::ARGB kBlue = 0xFF2369FC;
const Gdiplus::ARGB kDark = 0xFF111111;
const Gdiplus::ARGB kGrey = 0xFF888888;

class GalleryPage : public LUIWin {
public:
    void OnAction(const ActionRecord& action) override {
        if (action.handlerName == "OnCloseWin") Close();
    }
};

LUIText* Caption(LUIWin& page, int x, int y, const std::wstring& text) {
    auto* label = new LUIText(&page);
    label->fontSize = page.Scale(12);
    label->textColor = kGrey;
    label->SetRect(page.Scale(x), page.Scale(y), 0, 0);
    label->SetText(text);
    return label;
}

void ButtonRow(LUIWin& page, int y, int resourceId, int count, bool nineSlice, int w, int h,
               Gdiplus::ARGB color, const std::wstring& text, int fontSize, bool bold) {
    for (int state = 0; state < 4; ++state) {
        auto* button = new LUIButton(&page);
        button->SetRect(page.Scale(20 + state * (w + 16)), page.Scale(y), page.Scale(w), page.Scale(h));
        button->fontSize = page.Scale(fontSize);
        button->fontFamily = L"微软雅黑";
        if (bold) button->fontStyle = Gdiplus::FontStyleBold;
        button->textColors = {color, color, color, color};
        button->LoadImageStrip(resourceId, count, nineSlice);
        if (nineSlice) button->imageScale = 2.0f;
        button->text = text;
        button->state = state;
    }
}

void Build(GalleryPage& page) {
    page.Create(L"Toolkit gallery");
    page.SetSize(page.Scale(900), page.Scale(640));
    page.SetBackground(129, page.Scale(16), page.Scale(16), page.Scale(16), page.Scale(16), true);

    auto* close = new LUIButton(&page);
    close->SetSize(page.Scale(32), page.Scale(32));
    close->AlignRight(page.Scale(10), page.Scale(10));
    close->LoadImageStrip(130, 4, false);
    close->BindAction(&page, "OnCloseWin");
    for (int state = 0; state < 4; ++state) {
        auto* sample = new LUIButton(&page);
        sample->SetRect(page.Scale(640 + state * 40), page.Scale(14), page.Scale(32), page.Scale(32));
        sample->LoadImageStrip(130, 4, false);
        sample->state = state;
    }
    auto* logo = new LUIImage(&page);
    logo->SetRect(page.Scale(20), page.Scale(14), page.Scale(32), page.Scale(32));
    logo->LoadImage(133);
    auto* title = new LUIText(&page);
    title->fontSize = page.Scale(18);
    title->fontStyle = Gdiplus::FontStyleBold;
    title->textColor = kDark;
    title->SetRect(page.Scale(62), page.Scale(18), 0, 0);
    title->SetText(L"岚文看图 控件一览  normal · hover · pressed · disabled");

    Caption(page, 20, 60, L"PNG 134 primary button, 4 states");
    ButtonRow(page, 80, 134, 4, false, 190, 56, 0xFFFFFFFF, L"立即安装", 20, true);
    Caption(page, 20, 146, L"PNG 177 small primary (nine-slice) and PNG 178 secondary, 3 states");
    ButtonRow(page, 166, 177, 4, true, 88, 32, 0xFFFFFFFF, L"确定", 14, false);
    for (int state = 0; state < 4; ++state) {
        auto* secondary = new LUIButton(&page);
        secondary->SetRect(page.Scale(440 + state * 104), page.Scale(166), page.Scale(88), page.Scale(32));
        secondary->fontSize = page.Scale(14);
        secondary->textColors = {kDark, kDark, kDark, kDark};
        secondary->LoadImageStrip(178, 3, true);
        secondary->imageScale = 2.0f;
        secondary->text = L"取消";
        secondary->state = state;
    }

    Caption(page, 20, 212, L"PNG 176 and 163 check boxes: unchecked, then checked");
    const struct { int strip, left; } boxRows[] = {{176, 20}, {163, 360}};
    for (const auto& row : boxRows) {
        for (int i = 0; i < 8; ++i) {
            auto* box = new LUICheckBox(&page);
            box->boxWidth = box->boxHeight = page.Scale(16);
            box->LoadImageStrip(row.strip);
            box->SetRect(page.Scale(row.left + i * 40), page.Scale(234), page.Scale(16),
                         page.Scale(16));
            box->checked = i / 4;
            box->state = i % 4;
        }
    }
    auto* survey = new LUICheckBox(&page);
    survey->boxWidth = survey->boxHeight = page.Scale(16);
    survey->fontSize = page.Scale(14);
    survey->textColor = 0xFF666666;
    survey->LoadImageStrip(163);
    survey->SetRect(page.Scale(700), page.Scale(232), 0, 0);
    survey->checked = 1;
    survey->SetText(L"找不到需要的功能");

    Caption(page, 20, 266, L"PNG 179 icon button and links");
    const Gdiplus::ARGB iconColors[] = {kGrey, kBlue, 0xFF1C54CA, kGrey};
    int linkX = page.Scale(540);
    for (int state = 0; state < 4; ++state) {
        auto* chooser = new LUIIconBtn(&page);
        chooser->fontSize = page.Scale(12);
        chooser->textColors = {iconColors[0], iconColors[1], iconColors[2], iconColors[3]};
        ImagePtr strip = LoadPngResource(ToolkitModule.instance, 179);
        chooser->SetIconStrip(strip.get());
        chooser->iconWidth = chooser->iconHeight = page.Scale(16);
        chooser->SetText(L"选择安装目录");
        const TextSize content = chooser->MeasureContent();
        chooser->SetRect(page.Scale(20 + state * 130), page.Scale(290), content.width, content.height);
        chooser->state = state;
        auto* link = new LUILink(&page, true);
        link->fontSize = page.Scale(12);
        link->linkColors = {kGrey, kBlue, 0xFF1C54CA, 0xFFCCCCCC};
        link->SetText(L"《用户许可协议》");
        link->SetRect(linkX, page.Scale(290), link->width, link->height);
        linkX += link->width + page.Scale(8);
        link->state = state;
    }

    Caption(page, 20, 322, L"PNG 136 path field, progress bars, placeholder and pictures");
    auto* path = new LUIEdit(&page);
    path->SetRect(page.Scale(20), page.Scale(344), page.Scale(460), page.Scale(32));
    path->fontSize = page.Scale(12);
    path->textColor = kGrey;
    ImagePtr frame = LoadPngResource(ToolkitModule.instance, 136);
    path->SetImageStrip(frame.get());
    path->SetText(L"D:\\Program Files (x86)\\Larwen Software\\LarwenPic\\very long folder name\\lwpic");
    const float values[] = {0, 35, 100};
    for (int i = 0; i < 3; ++i) {
        auto* bar = new LUIProgressbar(&page);
        bar->SetRect(page.Scale(500 + i * 120), page.Scale(356), page.Scale(100), page.Scale(8));
        bar->barColor = kBlue;
        bar->trackColor = 0xFFE6ECF5;
        bar->value = values[i];
    }
    auto* placeholder = new LUIImage(&page);
    placeholder->SetRect(page.Scale(20), page.Scale(392), page.Scale(80), page.Scale(80));
    const struct { int id, x, w, h; } pictures[] = {
        {133, 110, 80, 80}, {161, 200, 32, 32}, {165, 242, 32, 32}, {162, 284, 80, 80},
        {180, 374, 200, 77}, {151, 584, 144, 81},
    };
    for (const auto& p : pictures) {
        auto* picture = new LUIImage(&page);
        picture->SetRect(page.Scale(p.x), page.Scale(392), page.Scale(p.w), page.Scale(p.h));
        picture->LoadImage(p.id);
    }
    auto* block = new LUIMultilineText(&page);
    block->SetRect(page.Scale(20), page.Scale(490), page.Scale(560), page.Scale(100));
    block->fontSize = page.Scale(12);
    block->textColor = 0xFF666666;
    block->backColor = 0xFFF7F9FC;
    block->SetText(L"多行文字：每一行在控件宽度内换行，空行被省略。\r\n\r\n"
                   L"A long paragraph wraps at the control's width and words are split anywhere, "
                   L"so the text always fits the picture it is rendered into once.");
}

bool PngEncoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

// Writes the page's back buffer (premultiplied BGRA) as a PNG.
bool SaveFrame(GalleryPage& page, const std::wstring& file) {
    if (!page.RenderFrame()) return false;
    DIBSECTION section = {};
    if (GetObjectW(page.backBuffer.get(), sizeof(section), &section) != sizeof(section)) return false;
    Gdiplus::Bitmap frame(section.dsBm.bmWidth, section.dsBm.bmHeight, section.dsBm.bmWidthBytes,
                          PixelFormat32bppPARGB, static_cast<BYTE*>(section.dsBm.bmBits));
    CLSID png;
    return PngEncoder(&png) && frame.Save(file.c_str(), &png, nullptr) == Gdiplus::Ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!ToolkitModule.Start(instance)) return 3;
    GalleryPage page;
    Build(page);
    if (argc >= 3 && std::wstring(argv[1]) == L"--save") return SaveFrame(page, argv[2]) ? 0 : 1;
    page.ShowModal();
    return 0;
}
