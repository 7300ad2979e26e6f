#include "install/ini_merge.h"

#include <windows.h>

#include "base/file_util.h"

void MergeIniFile(const std::wstring& source, const std::wstring& target) {
    DWORD size = 0;
    const std::unique_ptr<char[]> bytes = ReadWholeFile(source, &size);
    if (!bytes) return;
    for (const auto& entry : ParseIniText(std::string(bytes.get(), size))) {
        WritePrivateProfileStringW(entry.first.first.c_str(), entry.first.second.c_str(),
                                   entry.second.c_str(), target.c_str());
    }
}
