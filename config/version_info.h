// Strings from a file's version resource.
#pragma once

#include <windows.h>

#include <string>

class CFileVersionInfo {
public:
    CFileVersionInfo() { Reset(); }
    virtual ~CFileVersionInfo() = default;
    virtual void Reset();

    // Reads the running executable's own file.
    bool Create();
    // True when the translation table was found and the strings were read.
    bool Create(const std::wstring& path);

    VS_FIXEDFILEINFO fixedInfo;
    std::wstring CompanyName;
    std::wstring FileDescription;
    std::wstring FileVersion;
    std::wstring InternalName;
    std::wstring LegalCopyright;
    std::wstring OriginalFileName;
    std::wstring ProductName;
    std::wstring ProductVersion;
    std::wstring Comments;
    std::wstring LegalTrademarks;
    std::wstring PrivateBuild;
    std::wstring SpecialBuild;
};

// The FileVersion string of `path` with every "," replaced by "."; empty when unreadable.
std::wstring ReadFileVersion(const std::wstring& path);

// The translation entry (language in the low half, code page in the high half) whose strings
// suit the user: the user's language, then one with the same primary language byte, then
// neutral, then English, then the first entry. `length` is in bytes.
DWORD PickTranslation(const DWORD* table, UINT length);
DWORD PickTranslationFor(const DWORD* table, UINT length, WORD userLanguage);
bool FindTranslation(const DWORD* table, UINT length, WORD language, DWORD* entry,
                     bool lowByteMatch);
