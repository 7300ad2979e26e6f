// The installer's own question and notice window: a bold title, an optional icon, a wrapped
// message and up to two buttons at the bottom right. It tells which button ended it and
// whether its close button did.
#pragma once

#include <string>

#include "ui/lui_win.h"

class LUIButton;
class LUIImage;
class LUIMultilineText;
class LUIText;

class CMessageBox : public LUIWin {
public:
    // Builds the hidden window and its controls; the argument is not used.
    explicit CMessageBox(int unused = 0);
    ~CMessageBox() override;

    // Fills the texts, lays the window out and serves it until it closes; `result`.
    // iconStyle 1 and 2 choose an icon, any other value shows none; an empty button text
    // hides that button. A box whose window could not be made answers as if closed.
    int Show(const std::wstring& title, const std::wstring& message,
             const std::wstring& cancelText, const std::wstring& okText, int iconStyle);

    void OnAction(const ActionRecord& action) override;

    // Controls, owned by the window.
    LUIButton* closeButton = nullptr;
    LUIButton* okButton = nullptr;
    LUIButton* cancelButton = nullptr;
    LUIText* titleText = nullptr;
    LUIImage* icon = nullptr;
    LUIMultilineText* messageText = nullptr;

    int result = 0;               // 1 after okButton
    int closedByCloseButton = 0;  // 1 after closeButton

private:
    void LayOut();
};

// The picture of an icon style, or 0 for none.
int MessageBoxIconId(int iconStyle);
