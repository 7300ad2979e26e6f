#include "config/version_info.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "base/probes.h"

namespace {

// A file's version resource with the string-table prefix of the chosen translation.
struct VersionResource {
    std::vector<BYTE> data;
    std::wstring prefix;  // "\StringFileInfo\LLLLCCCC\"

    bool Load(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0) return false;
        data.assign(size, 0);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return false;
        void* table = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &table, &length) ||
            !table || length < sizeof(DWORD)) {
            return false;
        }
        const DWORD entry = PickTranslation(static_cast<const DWORD*>(table), length);
        wchar_t text[64] = {};
        wsprintfW(text, L"\\StringFileInfo\\%04X%04X\\", LOWORD(entry), HIWORD(entry));
        prefix = text;
        return true;
    }

    bool Query(const wchar_t* name, std::wstring* value) {
        void* text = nullptr;
        UINT length = 0;
        const std::wstring subBlock = prefix + name;
        if (!VerQueryValueW(data.data(), subBlock.c_str(), &text, &length) || !text) return false;
        // The length counts characters; an empty value or one without its terminator must
        // not read into the next block.
        const auto* characters = static_cast<const wchar_t*>(text);
        value->assign(characters, wcsnlen(characters, length));
        return true;
    }
};

}  // namespace

void CFileVersionInfo::Reset() {
    std::memset(&fixedInfo, 0, sizeof(fixedInfo));
    for (std::wstring* field : {&CompanyName, &FileDescription, &FileVersion, &InternalName,
                                &LegalCopyright, &OriginalFileName, &ProductName, &ProductVersion,
                                &Comments, &LegalTrademarks, &PrivateBuild, &SpecialBuild}) {
        field->clear();
    }
}

bool CFileVersionInfo::Create() { return Create(GetModulePath()); }

bool CFileVersionInfo::Create(const std::wstring& path) {
    Reset();
    VersionResource resource;
    if (!resource.Load(path)) {
        Reset();
        return false;
    }
    void* fixed = nullptr;
    UINT fixedLength = 0;
    if (VerQueryValueW(resource.data.data(), L"\\", &fixed, &fixedLength) && fixed &&
        fixedLength == sizeof(VS_FIXEDFILEINFO)) {
        std::memcpy(&fixedInfo, fixed, sizeof(fixedInfo));
    }
    const struct { const wchar_t* name; std::wstring* field; } kFields[] = {
        {L"CompanyName", &CompanyName},       {L"FileDescription", &FileDescription},
        {L"FileVersion", &FileVersion},       {L"InternalName", &InternalName},
        {L"LegalCopyright", &LegalCopyright}, {L"OriginalFileName", &OriginalFileName},
        {L"ProductName", &ProductName},       {L"ProductVersion", &ProductVersion},
        {L"Comments", &Comments},             {L"LegalTrademarks", &LegalTrademarks},
        {L"PrivateBuild", &PrivateBuild},     {L"SpecialBuild", &SpecialBuild},
    };
    for (const auto& field : kFields) resource.Query(field.name, field.field);
    return true;
}

std::wstring ReadFileVersion(const std::wstring& path) {
    VersionResource resource;
    std::wstring version;
    if (!resource.Load(path) || !resource.Query(L"FileVersion", &version)) return L"";
    for (wchar_t& c : version) {
        if (c == L',') c = L'.';
    }
    return version;
}

bool FindTranslation(const DWORD* table, UINT length, WORD language, DWORD* entry,
                     bool lowByteMatch) {
    const UINT count = length / sizeof(DWORD);
    for (UINT i = 0; i < count; ++i) {
        if (LOWORD(table[i]) == language) {
            *entry = table[i];
            return true;
        }
    }
    if (!lowByteMatch) return false;
    for (UINT i = 0; i < count; ++i) {
        if ((LOWORD(table[i]) & 0xFF) == (language & 0xFF)) {
            *entry = table[i];
            return true;
        }
    }
    return false;
}

DWORD PickTranslationFor(const DWORD* table, UINT length, WORD userLanguage) {
    DWORD entry = 0;
    if (FindTranslation(table, length, userLanguage, &entry, false) ||
        FindTranslation(table, length, userLanguage, &entry, true) ||
        FindTranslation(table, length, 0, &entry, true) ||
        FindTranslation(table, length, 9, &entry, true)) {
        return entry;
    }
    return length >= sizeof(DWORD) ? table[0] : 0;
}

DWORD PickTranslation(const DWORD* table, UINT length) {
    return PickTranslationFor(table, length, GetUserDefaultLangID());
}
