// AppData.ini: the paths an installation created, and the removal list read back from it.
#pragma once

#include <string>
#include <vector>

// Writes the four [TmpFile] entries: paths below the installation directory that the
// application's companion program creates.
void WriteTmpFileSection(const std::wstring& iniPath);

// Replaces the [AppFileList] section with F_0, F_1, ... = the entries, in order.
void WriteFileList(const std::wstring& iniPath, const std::vector<std::wstring>& entries);

// Appends the removal list to `out`: [AppFileList] then [TmpFile] entries, read from F_0 up
// to the first empty value, with existing files first and everything else after them.
void ReadFileList(const std::wstring& iniPath, std::vector<std::wstring>& out);

// True when the file holds an [AppFileList] whose first entry lies below `dir`: the list an
// installation into `dir` writes once its files are in place (a copy of another
// installation's list names that one's paths).
bool ListsFilesBelow(const std::wstring& iniPath, const std::wstring& dir);
