// The last page of an uninstall: the logo and the product name over one button that says
// the uninstall is complete. Both of its buttons only close it.
#pragma once

#include "ui/lui_win.h"

class LUIButton;
class LUIImage;
class LUIText;

class CUninstalled : public LUIWin {
public:
    // Builds the hidden window.
    CUninstalled();
    ~CUninstalled() override;

    // "OnCloseWin" and "OnUninstalled" close the page.
    void OnAction(const ActionRecord& action) override;

    // Controls, owned by the window.
    LUIButton* closeButton = nullptr;
    LUIImage* logo = nullptr;
    LUIText* title = nullptr;
    LUIButton* doneButton = nullptr;
};
