// The packer: writes offline_setup.exe, a copy of this installer carrying a package and,
// optionally, another uidata document as resources.
#pragma once

#include <string>
#include <vector>

// The payload resource an offline installer carries: one 7z archive, unchanged.
extern const wchar_t kPayloadType[];
constexpr int kPayloadId = 143;

// The quoted file arguments of the packer's command line, in order. The scan ends at the
// first quoted argument that is empty, missing on disk or not a package ("32.7z", "64.7z",
// "all.7z") or a uidata document ("uidata.xml"); `stop` (may be null) then receives a line
// that names it and says why.
std::vector<std::wstring> ParsePackerArguments(const std::wstring& commandLine,
                                               std::wstring* stop = nullptr);

// What a packer run did: one line for each file packed or skipped and the outcome.
struct PackerReport {
    // False when a file the scan accepted could not be written (no offline installer is
    // left then) or the copy of the installer could not be made.
    bool ok = true;
    std::vector<std::wstring> lines;
};

// Copies the running executable to offline_setup.exe beside it (replacing an earlier one)
// and writes each listed file into the copy: packages as the payload (the last one given
// wins), the uidata document as its XML resource. Does nothing without a valid argument.
PackerReport BuildOfflineInstaller(const std::wstring& commandLine);
