// The base of every control. A control has no native window: its owner draws it into the
// frame, offers it the window's messages, and deletes it. Positions and sizes are content
// coordinates of the owner: (0, 0) lies marginLeft/marginTop inside the client area.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "ui/image_ops.h"
#include "ui/lui_obj.h"
#include "ui/lui_win.h"
#include "ui/text_measure.h"

class ILUIChild : public LUIObj {
public:
    // Appends the control to the owner's children; the owner deletes it.
    explicit ILUIChild(LUIWin* owner);
    ~ILUIChild() override;

    // The arguments are the owner's client box; the control finds its own rectangle.
    virtual void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
                      int clientHeight);
    virtual void DrawChildren(Gdiplus::Graphics& graphics, int clientX, int clientY,
                              int clientWidth, int clientHeight);
    // True when the control takes the message.
    virtual bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Release();
    virtual void SetRect(int newX, int newY, int newWidth, int newHeight);
    virtual void Resize(int newWidth, int newHeight);
    virtual void SetSize(int newWidth, int newHeight);
    virtual void OffsetX(int dx);
    virtual void OffsetY(int dy);
    virtual void SetText(const std::wstring& newText);
    virtual void SetFontSize(int px);
    virtual void FireAction();

    void BindAction(LUIObj* handler, const std::string& handlerName);
    void SetFontFamily(const std::wstring& family);
    TextSize MeasureText() const;
    TextSize MeasureString(const std::wstring& s) const;

    // Layout against the owner's content area; set the size first.
    void AlignRight(int rightMargin, int newY);
    void AlignRightBottom(int rightMargin, int bottomMargin);
    void CenterX(int newY);
    void CenterXBottom(int bottomMargin);
    void FillParent(int left, int top, int right, int bottom);

    // The control's rectangle in client pixels.
    ClientBox ClientRect() const;
    // Whether the mouse point of lParam lies in the control; all four edges count.
    bool HitTest(LPARAM lParam) const;

    LUIWin* parent;
    int x = 0;
    int y = 0;
    int width = 50;
    int height = 50;
    std::wstring text;
    std::wstring fontFamily = L"微软雅黑";
    Gdiplus::ARGB textColor = 0xFF000000;
    int fontStyle = 0;  // GDI+ style bits: 1 bold, 2 italic, 4 underline
    int fontSize = 12;  // pixels
    ImagePtr image;
    bool visible = true;
    std::vector<ILUIChild*> subControls;  // owned

protected:
    TextSize MeasureInFont(const std::wstring& s, int style) const;
};
