// The application's entry among the system's installed programs: a subkey of the machine-wide
// Uninstall key, named by REG_KEY: the five values every installed program has, and what
// deployment tools read beside them.
#pragma once

#include <windows.h>

#include <string>

// Path of the machine-wide Uninstall key below HKEY_LOCAL_MACHINE.
extern const wchar_t kUninstallKeyPath[];
// The registry view the entry lives in; the access grant opens the key in the same view.
extern const REGSAM kUninstallEntryView;

// Opens the Uninstall key and creates (or opens) the subkey `name`, then gives the current
// user read and write access to it. True when the subkey is open for the setters.
bool CreateUninstallKey(const std::wstring& name);

// Each writes one value into the subkey opened by CreateUninstallKey; false, writing
// nothing, when no subkey is open. Paths are normalised: "/" becomes "\" and, in one
// left-to-right pass, every pair of backslashes becomes one.
bool SetDisplayIcon(const std::wstring& exePath);
bool SetUninstallString(const std::wstring& uninstallPath);
// The FileVersion of `exePath` with "," replaced by "."; an empty string when it has none.
bool SetDisplayVersion(const std::wstring& exePath);
// Any other REG_SZ value of the subkey ("Publisher", "DisplayName").
bool SetUninstallValue(const wchar_t* valueName, const std::wstring& text);
// A REG_DWORD value of the subkey ("EstimatedSize", "NoModify").
bool SetUninstallDword(const wchar_t* valueName, DWORD value);

// Gives the current user KEY_READ | KEY_WRITE on HKEY_LOCAL_MACHINE\keyPath (32-bit view).
// True once the user's SID was read, whether or not the new DACL could be written.
bool GrantKeyAccess(const std::wstring& keyPath);

// The directory of the executable named by the subkey's "DisplayIcon", or empty when the
// subkey or the value is missing or that directory no longer exists.
std::wstring ReadInstallLocation(const std::wstring& name);

// Removes the subkey `name` of the Uninstall key with everything below it.
void DeleteUninstallKey(const std::wstring& name);

// "/" to "\", then each pair of backslashes to one (three become two).
std::wstring NormalizeRegistryPath(const std::wstring& path);
