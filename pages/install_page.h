// The first page of an installation. A silent install uses it without showing it: for the
// installation directory and the report that an installation has begun.
#pragma once

#include <string>

#include "ui/lui_win.h"

class CInstall : public LUIWin {
public:
    // Reports that an installation has begun and takes the default directory.
    CInstall();

    // installDir := dir, or the default directory when dir is empty; clears cancelled.
    void SetInstallDir(const std::wstring& dir);

    std::wstring installDir;
    // Non-empty when the user chose to install over an earlier installation.
    std::wstring existingDir;
    int setAsDefault = 0;
};

// The local application-data folder with the product's folder name appended.
std::wstring DefaultInstallDir();
