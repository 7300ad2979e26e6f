// The installer's command line (app/command_line.cpp): the "d=" directory, the "/log=" file,
// the "/closeapps" switch and the tracking ids from "/tid1:", "/tid2:" or the executable's
// file name. The input is the command line, then optionally a line feed and the file name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "config/tracking_ids.h"
#include "native/fuzz_check.h"
#include "native/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring input = WideFromBytes(data, size);
    const size_t newline = input.find(L'\n');
    const std::wstring commandLine = input.substr(0, newline);
    const std::wstring fileName = newline == std::wstring::npos ? L"setup.exe" : input.substr(newline + 1);

    Tid1 = Tid2 = 0;
    const bool tracked = ParseTrackingIds(commandLine, fileName);
    FUZZ_CHECK(tracked == IsValidTrackingPair(Tid1, Tid2));
    if (!tracked) FUZZ_CHECK(Tid1 == 0 && Tid2 == 0);

    HasSwitch(commandLine, kCloseAppsSwitch);

    const std::wstring dir = SilentInstallDirFor(commandLine, L"lwpic");
    if (!dir.empty()) {
        FUZZ_CHECK(dir.size() >= 6 && dir.compare(dir.size() - 6, 6, L"\\lwpic") == 0);
        FUZZ_CHECK(dir.find(L'/') == std::wstring::npos);
    }

    const std::wstring log = GetLogPath(commandLine);
    FUZZ_CHECK(log.size() <= commandLine.size());
    if (!log.empty()) FUZZ_CHECK(commandLine.find(log) != std::wstring::npos);
    return 0;
}
