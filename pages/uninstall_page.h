// The first page of an uninstall: the confirmation, with a survey of why the user leaves
// (one reason at most). Every way its buttons end it is reported; `cancelled` stays set
// unless the user chose to uninstall.
#pragma once

#include <array>

#include "ui/lui_win.h"

class LUIButton;
class LUICheckBox;
class LUIImage;
class LUIText;

class CUninstall : public LUIWin {
public:
    // Builds the hidden window and reports that the uninstall page was opened.
    CUninstall();
    ~CUninstall() override;

    // "OnCloseWin" (close and cancel buttons), "OnUninstall", "OnSelectChanged".
    void OnAction(const ActionRecord& action) override;
    // After a box was clicked: keeps at most one box checked, the one clicked last; the
    // checked box cannot be cleared by clicking it again.
    void OnSelectChanged();
    // Closes the page to go on with the uninstall and reports the chosen reason.
    void OnUninstall();
    // The reported reason: 1 to 4 for the first checked box, 0 when none is checked.
    int CheckedReason() const;

    // Controls, owned by the window.
    LUIButton* closeButton = nullptr;
    LUIImage* logo = nullptr;
    LUIText* title = nullptr;
    LUIImage* picture = nullptr;
    LUIText* header = nullptr;
    std::array<LUICheckBox*, 4> reasonBoxes = {};
    LUIButton* cancelButton = nullptr;
    LUIButton* uninstallButton = nullptr;

    // The index of the checked box, -1 for none.
    int selectedReason = -1;
};
