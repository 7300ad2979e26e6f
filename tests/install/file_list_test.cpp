#include "install/file_list.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::vector<std::wstring> kTmpEntries = {L"\\lwliveupdatedfile.txt", L"\\lwlive.log",
                                               L"\\default", L"\\update"};

std::vector<std::wstring> Read(const std::wstring& ini) {
    std::vector<std::wstring> out;
    ReadFileList(ini, out);
    return out;
}

std::vector<std::wstring> Joined(std::vector<std::wstring> head,
                                 const std::vector<std::wstring>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace

TEST(FileList, WritesTmpFilesFirstThenTheListInOrder) {
    TempDir root;
    const std::wstring ini = root / L"AppData.ini";
    WriteTmpFileSection(ini);
    WriteFileList(ini, {root / L"a.txt", root / L"b.txt", root / L"c.txt"});
    WriteFileBytes(root / L"a.txt", "a");
    WriteFileBytes(root / L"b.txt", "b");
    WriteFileBytes(root / L"c.txt", "c");

    // UTF-16 text after its byte-order mark.
    const std::wstring expected =
        L"\xFEFF[TmpFile]\r\nF_0=\\lwliveupdatedfile.txt\r\nF_1=\\lwlive.log\r\nF_2=\\default\r\n"
        L"F_3=\\update\r\n[AppFileList]\r\nF_0=";
    DWORD size = 0;
    std::wstring text;
    HANDLE file = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    text.resize(GetFileSize(file, nullptr) / sizeof(wchar_t));
    ReadFile(file, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &size, nullptr);
    CloseHandle(file);
    EXPECT_EQ(text.compare(0, expected.size(), expected), 0) << text.c_str();
    EXPECT_NE(text.find(L"F_2="), std::wstring::npos);
    EXPECT_EQ(text.find(L"F_3=", text.find(L"[AppFileList]")), std::wstring::npos) << text.c_str();

    EXPECT_EQ(Read(ini), Joined({root / L"a.txt", root / L"b.txt", root / L"c.txt"}, kTmpEntries));
}

TEST(FileList, NamesOutsideTheAnsiCodePageReadBackAsWritten) {
    TempDir root;
    const std::wstring ini = root / L"AppData.ini";
    // Hangul, an emoji and the product's own name: none of them is in every code page.
    const std::vector<std::wstring> names = {root / L"\uD55C\uAE00.txt",
                                             root / L"\U0001F600.txt",
                                             root / L"\u5C9A\u6587\u770B\u56FE.lnk"};
    WriteTmpFileSection(ini);
    WriteFileList(ini, names);
    for (const std::wstring& name : names) WriteFileBytes(name, "x");
    EXPECT_EQ(Read(ini), Joined(names, kTmpEntries));
}

TEST(FileList, ReadsFilesFirstThenDirectoriesAndMissingPathsInReadingOrder) {
    TempDir root;
    const std::wstring ini = root / L"AppData.ini";
    CreateDirectoryW((root / L"dir").c_str(), nullptr);
    WriteFileBytes(root / L"file", "x");
    WriteTmpFileSection(ini);
    WriteFileList(ini, {root / L"dir", root / L"missing", root / L"file"});
    EXPECT_EQ(Read(ini),
              Joined({root / L"file", root / L"dir", root / L"missing"}, kTmpEntries));
}

TEST(FileList, StopsAtTheFirstGapAndReadsAMissingFileAsEmpty) {
    TempDir root;
    const std::wstring ini = root / L"AppData.ini";
    WritePrivateProfileStringW(L"AppFileList", L"F_0", (root / L"one").c_str(), ini.c_str());
    WritePrivateProfileStringW(L"AppFileList", L"F_2", (root / L"three").c_str(), ini.c_str());
    EXPECT_EQ(Read(ini), std::vector<std::wstring>{root / L"one"});
    EXPECT_TRUE(Read(root / L"none.ini").empty());

    // An empty list leaves just the [TmpFile] entries.
    WriteTmpFileSection(ini);
    WriteFileList(ini, {});
    EXPECT_EQ(Read(ini), kTmpEntries);
}

TEST(FileList, ANewListLeavesNoEntryOfALongerOldOne) {
    TempDir root;
    const std::wstring ini = root / L"AppData.ini";
    WriteTmpFileSection(ini);
    WriteFileList(ini, {root / L"old0", root / L"old1", root / L"old2", root / L"old3"});
    WriteTmpFileSection(ini);
    WriteFileList(ini, {root / L"new0"});
    EXPECT_EQ(Read(ini), Joined({root / L"new0"}, kTmpEntries));
}

TEST(FileList, KeepsLongPathsWhole) {
    TempDir root;
    const std::wstring ini = root / L"AppData.ini";
    // Longer than the 260 characters of a classic path buffer: never cut to another path.
    const std::wstring longPath = root.path() + L"\\" + std::wstring(300, L'x') + L"\\f.txt";
    WriteFileList(ini, {longPath});
    EXPECT_EQ(Read(ini), std::vector<std::wstring>{longPath});
}
