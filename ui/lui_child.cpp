#include "ui/lui_child.h"

#include <algorithm>

#include "ui/action_map.h"

ILUIChild::ILUIChild(LUIWin* owner) : parent(owner) { parent->children.push_back(this); }

ILUIChild::~ILUIChild() {
    for (ILUIChild* sub : subControls) sub->Release();
    subControls.clear();
    // A control released by its page must not stay behind in the list frames and messages
    // walk; the window's own destructor has taken it out already.
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

void ILUIChild::Draw(Gdiplus::Graphics& graphics, int, int, int, int) {
    if (!image) return;
    const ClientBox r = ClientRect();
    image->DrawAt(graphics, r.x, r.y, r.width, r.height);
}

void ILUIChild::DrawChildren(Gdiplus::Graphics& graphics, int clientX, int clientY,
                             int clientWidth, int clientHeight) {
    for (ILUIChild* sub : subControls) {
        if (!sub->visible) continue;
        sub->Draw(graphics, clientX, clientY, clientWidth, clientHeight);
        sub->DrawChildren(graphics, clientX, clientY, clientWidth, clientHeight);
    }
}

bool ILUIChild::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool taken = false;
    for (ILUIChild* sub : subControls) {
        if (sub->OnMessage(hwnd, message, wParam, lParam)) taken = true;
    }
    return taken;
}

void ILUIChild::Release() { delete this; }

void ILUIChild::SetRect(int newX, int newY, int newWidth, int newHeight) {
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
}

void ILUIChild::Resize(int newWidth, int newHeight) { SetSize(newWidth, newHeight); }

void ILUIChild::SetSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
}

void ILUIChild::OffsetX(int dx) { x += dx; }

void ILUIChild::OffsetY(int dy) { y += dy; }

void ILUIChild::SetText(const std::wstring& newText) { text = newText; }

void ILUIChild::SetFontSize(int px) { fontSize = px; }

void ILUIChild::FireAction() { ::FireAction(this); }

void ILUIChild::BindAction(LUIObj* handler, const std::string& handlerName) {
    ::BindAction(this, handler, handlerName);
}

void ILUIChild::SetFontFamily(const std::wstring& family) { fontFamily = family; }

TextSize ILUIChild::MeasureInFont(const std::wstring& s, int style) const {
    return MeasureTextSize(s, fontFamily, fontSize, (style & Gdiplus::FontStyleBold) != 0,
                           (style & Gdiplus::FontStyleItalic) != 0,
                           (style & Gdiplus::FontStyleUnderline) != 0);
}

TextSize ILUIChild::MeasureText() const { return MeasureInFont(text, fontStyle); }

TextSize ILUIChild::MeasureString(const std::wstring& s) const {
    return MeasureInFont(s, fontStyle);
}

void ILUIChild::AlignRight(int rightMargin, int newY) {
    x = parent->GetContentRect().right - width - rightMargin;
    y = newY;
}

void ILUIChild::AlignRightBottom(int rightMargin, int bottomMargin) {
    const RECT content = parent->GetContentRect();
    x = content.right - width - rightMargin;
    y = content.bottom - height - bottomMargin;
}

void ILUIChild::CenterX(int newY) {
    x = (parent->GetContentRect().right - width) / 2;
    y = newY;
}

void ILUIChild::CenterXBottom(int bottomMargin) {
    const RECT content = parent->GetContentRect();
    x = (content.right - width) / 2;
    y = content.bottom - height - bottomMargin;
}

void ILUIChild::FillParent(int left, int top, int right, int bottom) {
    const RECT content = parent->GetContentRect();
    x = left;
    y = top;
    width = content.right - left - right;
    height = content.bottom - top - bottom;
}

ClientBox ILUIChild::ClientRect() const { return parent->ContentToClient(x, y, width, height); }

bool ILUIChild::HitTest(LPARAM lParam) const {
    const int px = static_cast<int>(LOWORD(lParam)) - parent->marginLeft;
    const int py = static_cast<int>(HIWORD(lParam)) - parent->marginTop;
    return x <= px && px <= x + width && y <= py && py <= y + height;
}
