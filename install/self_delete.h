// Deleting the uninstaller and the installation directory after the uninstaller has ended.
#pragma once

#include <string>
#include <vector>

struct SelfDeletePlan {
    std::wstring exePath;      // the running uninstaller
    std::wstring exeDir;       // its directory, removed when it is named like the product's
    std::wstring batchPath;    // the batch file, in a directory only administrators can write
    std::wstring timeoutPath;  // the system's timeout.exe
};

// The batch's lines (without line ends): three rounds of a one-second wait and a try to
// delete the uninstaller, the installation directory when its name is Install_Dir (only
// when it is empty by then: cmd's recursive removal may follow links), then the batch and
// its own directory. "%" in paths is doubled so that cmd takes it literally.
std::vector<std::wstring> SelfDeleteBatchLines(const SelfDeletePlan& plan);

// A new directory for the batch under the Windows directory's Temp, named by a fresh GUID,
// whose DACL lets only SYSTEM and administrators in (nothing inherited): the elevated cmd.exe
// runs what is written there. Empty when it cannot be created so.
std::wstring CreateBatchDir();

// Empties the uninstaller's directory when its name is Install_Dir (links in it are removed
// as links or left, never followed; what is running stays), then writes the batch that
// deletes `exePath`, the running uninstaller under the name it has now, into a new
// directory from CreateBatchDir, and starts it with the system's cmd.exe (no AutoRun
// commands, no delayed expansion), hidden, without waiting. False when nothing was started:
// no directory, a path the console code page cannot express, or no process.
bool ScheduleSelfDelete(const std::wstring& exePath);
