// A block of text wrapped to the control's width and rendered once into a picture; a text
// taller than the control shows the part chosen by `scrollFraction`.
#pragma once

#include <functional>
#include <vector>

#include "ui/lui_child.h"

// Breaks text into lines: CR and LF end a line and blank lines disappear; a line also
// breaks after the character that makes `measure`(line) + `reserve` exceed `available`,
// anywhere inside a word.
std::vector<std::wstring> WrapLines(const std::wstring& text, int available, int reserve,
                                    const std::function<int(const std::wstring&)>& measure);

class LUIMultilineText : public ILUIChild {
public:
    explicit LUIMultilineText(LUIWin* owner);
    ~LUIMultilineText() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;
    // Stores the margins and, when a rendered picture exists, lays the text out again.
    void SetMargins(int left, int top, int right, int bottom);
    // Wraps and renders the text for the given client width (the rest is not used). A
    // rendered picture is kept until the width changes.
    void Layout(int clientX, int clientY, int clientWidth, int clientHeight);

    Gdiplus::ARGB backColor = 0xFFFFFFFF;
    ImagePtr rendered;
    int textMarginLeft = 0;
    int textMarginTop = 0;
    int textMarginRight = 15;
    int textMarginBottom = 0;
    float scrollFraction = 0.0f;
    int layoutWidth = 0;
};
