// The page after the installing page: the product's logo and name and one large button. After
// a good installation the button starts the application; after a failed one the page says so
// in the error colour and the button only closes it.
#pragma once

#include <string>

#include "ui/lui_win.h"

class LUIButton;
class LUIImage;
class LUIText;

class CInstalled : public LUIWin {
public:
    // Builds the hidden page for the outcome errorText describes (empty: success) and
    // reports the end of the installation with it.
    explicit CInstalled(const std::wstring& errorText);
    ~CInstalled() override;

    void OnAction(const ActionRecord& action) override;
    // Starts the installed application (after a success) and closes the page; reports
    // either way.
    void OnInstallFinish();

    std::wstring installDir;
    bool succeeded;

    // Controls, owned by the window, in drawing order.
    LUIButton* closeButton = nullptr;
    LUIText* title = nullptr;
    LUIImage* logo = nullptr;
    LUIButton* startButton = nullptr;
    // The failure's explanation; null after a success.
    LUIText* errorLine = nullptr;
    // The failure's log file, when one was written; null otherwise.
    LUIText* logLine = nullptr;
};

// Starts the application in installDir as the desktop's user and reports whether it started.
void StartInstalledApp(const std::wstring& installDir);
