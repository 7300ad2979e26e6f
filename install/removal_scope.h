// Which entries of an installed-file list the uninstaller may delete.
#pragma once

#include <string>

// Turns a removal-list entry into the full path to delete. An entry that begins with "\" is
// relative to `installDir`. Allowed are paths below `installDir` reached without passing
// through a link, the desktop link and the product's start-menu folder with the links in
// it; false for anything else, because the list lives in a directory the user can write.
// `resolved` is where the path must resolve when it is deleted (see base/resolved_path.h):
// the installation directory's parent, or the link's folder, as the system resolves it, and
// the rest as named; empty when that parent cannot be opened.
bool ResolveRemovalEntry(const std::wstring& entry, const std::wstring& installDir,
                         std::wstring* path, std::wstring* resolved);

// True when both name the same existing directory: their full long forms are equal, letter
// case aside. The uninstaller removes only the installation the Uninstall entry records.
bool IsSameDirectory(const std::wstring& a, const std::wstring& b);
