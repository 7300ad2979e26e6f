// Shell links that start the application and the uninstaller.
#pragma once

#include <string>

// Saves a shell link at `linkPath` that starts `target` in the target's own directory.
bool CreateShellLink(const std::wstring& target, const std::wstring& linkPath);

// "<desktop>\<name>.lnk" for the user; the link's path, or empty when none was saved.
std::wstring CreateDesktopShortcut(const std::wstring& target, const std::wstring& name);

// "<common start menu>\programs\<folderName>\<linkName>.lnk"; the folder is created when
// missing (a file of that name is replaced) and an existing link is replaced. The link's
// path, or empty when none was saved.
std::wstring CreateStartMenuShortcut(const std::wstring& target, const std::wstring& folderName,
                                     const std::wstring& linkName);

// Deletes "<desktop>\<App_Name>.lnk" when it exists.
void RemoveDesktopShortcut();

// The working directory a link gets: the target up to its last "\" or "/", else the target.
std::wstring ShortcutWorkingDir(const std::wstring& target);
