// Helpers shared by the unit tests.
#pragma once

#include <string>

// The Windows path of a file in the build's fixture directory.
std::wstring FixturePath(const std::wstring& name);

// A fresh directory under the temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Writes `bytes` to a new file.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
