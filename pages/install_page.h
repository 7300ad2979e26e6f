// The first page of an interactive installation: title and logo, the agreement line with its
// two links, the default-viewer option, and either the large install button (main view) or
// the installation directory with a folder dialog (directory view). It closes with
// `cancelled` cleared when the user installs. A silent install uses it without showing it:
// for the installation directory and the report that an installation has begun.
#pragma once

#include <array>
#include <set>
#include <string>

#include "ui/lui_win.h"

class ILUIChild;
class LUIButton;
class LUICheckBox;
class LUIEdit;
class LUIIconBtn;
class LUIImage;
class LUILink;
class LUIText;

// Controls shown and hidden together.
class ControlGroup {
public:
    void Add(ILUIChild* control) { members.insert(control); }
    void SetVisible(bool visible);

private:
    std::set<ILUIChild*> members;
};

class CInstall : public LUIWin {
public:
    // Builds the hidden page in its main view, reports that an installation has begun and
    // takes the default directory.
    CInstall();
    ~CInstall() override;

    void OnAction(const ActionRecord& action) override;
    // Re-applies the title, the browse button, the location label and the install button
    // with a more compact layout; nothing in the installer calls it.
    void RefreshTexts() override;

    // installDir := dir, or the default directory when dir is empty; clears cancelled.
    void SetInstallDir(const std::wstring& dir);
    // Asks whether to install over an earlier installation found in the registry. True
    // means quit. When the user chooses to install over it, its listed files are removed
    // and it becomes the installation directory (existingDir), and cancelled is cleared.
    bool CheckExistingInstall();

    std::wstring installDir;
    // Non-empty when the user chose to install over an earlier installation.
    std::wstring existingDir;
    int setAsDefault = 1;

    // Controls, owned by the window, in drawing order.
    LUIButton* closeButton = nullptr;
    LUIImage* logoImage = nullptr;
    LUIText* titleText = nullptr;
    LUIButton* browseButton = nullptr;
    LUIEdit* pathField = nullptr;
    LUIText* locationLabel = nullptr;
    LUIButton* installButton = nullptr;
    LUIButton* installNowButton = nullptr;
    LUIButton* backButton = nullptr;
    LUIIconBtn* chooseDirButton = nullptr;
    std::array<LUIText*, 5> lawTexts = {};
    LUICheckBox* agreeCheck = nullptr;
    LUICheckBox* defaultViewerCheck = nullptr;
    LUILink* defaultViewerText = nullptr;
    ControlGroup mainGroup;
    ControlGroup directoryGroup;

private:
    void AddAgreementLine();
    void UpdateAgreement();
    void ShowDirectoryView(bool directory);
    void SelectFolder();
    void Install();
};

// The local application-data folder with the product's folder name appended.
std::wstring DefaultInstallDir();

// The installation directory for a folder chosen in the folder dialog: the product's folder
// name appended as it is, so a drive root gives two backslashes.
std::wstring InstallDirInFolder(const std::wstring& folder);
