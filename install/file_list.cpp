#include "install/file_list.h"

#include <windows.h>

#include <memory>

#include "base/handles.h"
#include "base/string_util.h"
#include "install/path_relation.h"

namespace {

const wchar_t kTmpFileSection[] = L"TmpFile";
const wchar_t kAppFileListSection[] = L"AppFileList";

const wchar_t* const kTmpFiles[] = {
    L"\\lwliveupdatedfile.txt",
    L"\\lwlive.log",
    L"\\default",
    L"\\update",
};

// Longest value read back: the longest path the file functions accept.
constexpr DWORD kValueCapacity = 32768;

std::wstring KeyName(int index) { return L"F_" + IntToString(index); }

void ReadSection(const wchar_t* section, const std::wstring& iniPath,
                 std::vector<std::wstring>& files, std::vector<std::wstring>& others) {
    std::unique_ptr<wchar_t[]> value(new wchar_t[kValueCapacity]);
    for (int i = 0;; ++i) {
        const DWORD length = GetPrivateProfileStringW(section, KeyName(i).c_str(), L"",
                                                      value.get(), kValueCapacity, iniPath.c_str());
        if (length == 0) break;
        // A value cut short would name a different path; it is not a path of ours.
        if (length >= kValueCapacity - 1) continue;
        // A network path is never probed: the probe alone would sign in to that server with
        // the installer's credentials. Such an entry is not ours to remove anyway.
        const DWORD attributes = StartsLikeNetworkPath(value.get())
                                     ? INVALID_FILE_ATTRIBUTES
                                     : GetFileAttributesW(value.get());
        const bool isFile = attributes != INVALID_FILE_ATTRIBUTES &&
                            (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        (isFile ? files : others).emplace_back(value.get(), length);
    }
}

// Starts a new list as UTF-16 text: the profile functions then keep writing it that way,
// where they would write the ANSI code page otherwise and turn every name outside it (the
// product's Chinese link names on a Western or Japanese system) into question marks that
// name nothing the uninstaller could remove.
void StartUnicodeFile(const std::wstring& iniPath) {
    const UniqueFileHandle file(CreateFileW(iniPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    static const unsigned char kUtf16Bom[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file.get(), kUtf16Bom, sizeof(kUtf16Bom), &written, nullptr);
}

}  // namespace

void WriteTmpFileSection(const std::wstring& iniPath) {
    StartUnicodeFile(iniPath);
    int index = 0;
    for (const wchar_t* path : kTmpFiles) {
        WritePrivateProfileStringW(kTmpFileSection, KeyName(index++).c_str(), path,
                                   iniPath.c_str());
    }
}

void WriteFileList(const std::wstring& iniPath, const std::vector<std::wstring>& entries) {
    StartUnicodeFile(iniPath);
    // Keys of an older, longer list must not survive: a later uninstall would delete them.
    WritePrivateProfileStringW(kAppFileListSection, nullptr, nullptr, iniPath.c_str());
    if (entries.empty()) return;
    // The whole section in one write: a write per key rewrites the file each time, which
    // for an installation of thousands of files costs minutes.
    std::wstring section;
    int index = 0;
    for (const std::wstring& entry : entries) {
        section += KeyName(index++) + L"=" + entry;
        section += L'\0';
    }
    WritePrivateProfileSectionW(kAppFileListSection, section.c_str(), iniPath.c_str());
}

void ReadFileList(const std::wstring& iniPath, std::vector<std::wstring>& out) {
    std::vector<std::wstring> files;
    std::vector<std::wstring> others;
    ReadSection(kAppFileListSection, iniPath, files, others);
    ReadSection(kTmpFileSection, iniPath, files, others);
    out.insert(out.end(), files.begin(), files.end());
    out.insert(out.end(), others.begin(), others.end());
}

bool ListsFilesBelow(const std::wstring& iniPath, const std::wstring& dir) {
    std::unique_ptr<wchar_t[]> first(new wchar_t[kValueCapacity]);
    const DWORD length = GetPrivateProfileStringW(kAppFileListSection, KeyName(0).c_str(), L"",
                                                  first.get(), kValueCapacity, iniPath.c_str());
    return length > 0 && length < kValueCapacity - 1 && IsPathBelow(first.get(), dir);
}
