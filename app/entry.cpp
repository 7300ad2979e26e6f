#include "app/entry.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/run_mode.h"
#include "app/sequences.h"
#include "base/diagnostics.h"
#include "base/handles.h"
#include "base/probes.h"
#include "base/string_util.h"
#include "base/text_convert.h"
#include "config/offline_builder.h"
#include "config/ui_data.h"
#include "config/version_info.h"
#include "ui/toolkit_module.h"

namespace {

const wchar_t kInstanceEventName[] = L"Global\\{1A86C096-994A-44EC-8730-7B68E8A9EC89}";

const char* const kHelpTexts[] = {
    "Insert the 32-bit and 64-bit ZIP files into the installation package.",
    "Insert the uidata.xml interface file into the installation package.\r\n",
    "eg. setup.exe -p \"X:\\XXX\\xxx32.7z\" \"X:\\XXX\\xxx\\64.7z\" \"X:\\XXX\\xxx\\uidata.xml\"\r\n",
    "silent installation",
    "eg. px_setup_2_2.exe /i /d=e:\\lw_px",
    "eg. px_setup_2_2.exe /s /d=e:\\lw_px",
};

// Waits for a key on the console. Read here rather than through "pause": the installer
// runs elevated, and a command interpreter found through %COMSPEC% would run with it.
void WaitForKey(FILE* console) {
    std::fputs("Press any key to continue . . . ", console);
    std::fflush(console);
    const UniqueFileHandle input(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    if (!input) return;
    FlushConsoleInputBuffer(input.get());
    INPUT_RECORD record = {};
    DWORD read = 0;
    while (ReadConsoleInputW(input.get(), &record, 1, &read) && read == 1) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) break;
    }
    std::fputs("\n", console);
}

void PrintHelp() {
    AllocConsole();
    FILE* console = nullptr;
    if (freopen_s(&console, "CONOUT$", "w", stdout) == 0 && console) {
        for (const char* text : kHelpTexts) {
            std::fputs(text, console);
            std::fputs("\n", console);
            std::fflush(console);
        }
        WaitForKey(console);
        std::fclose(console);
    }
    FreeConsole();
}

// Writes the lines where the caller reads them: into the output it handed over (a pipe or a
// file, as UTF-8), else into the console it was started from. A program started without
// either shows nothing.
void PrintToCaller(const std::vector<std::wstring>& lines) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    UniqueFileHandle console;
    if ((!output || output == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        console.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
        output = console.get();
    }
    if (!output || output == INVALID_HANDLE_VALUE) return;
    for (const std::wstring& line : lines) {
        const std::wstring text = line + L"\r\n";
        DWORD written = 0;
        if (WriteConsoleW(output, text.c_str(), static_cast<DWORD>(text.size()), &written,
                          nullptr)) {
            continue;
        }
        const std::string bytes = WideToUtf8(text);
        WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (console) FreeConsole();
}

// The first lines of the log: what runs, how it was started and on what.
void LogRun(const std::wstring& commandLine) {
    const std::wstring path = GetModulePath();
    const OsInfo& os = OsInfo::Get();
#ifdef _WIN64
    const wchar_t* build = L"64-bit";
#else
    const wchar_t* build = L"32-bit";
#endif
    DebugPrint(L"%ls %ls, version %ls (%ls)", IsUninstallMode() ? L"uninstaller" : L"installer",
               path.c_str(), ReadFileVersion(path).c_str(), build);
    DebugPrint(L"command line: %ls", commandLine.c_str());
    DebugPrint(L"Windows %u.%u build %u, %ls", os.major, os.minor, os.build,
               IsWow64() ? L"64-bit (WOW64)" : build);
}

}  // namespace

BOOL CALLBACK ActivateExistingWindow(HWND window, LPARAM) {
    wchar_t className[256] = {};
    if (!IsWindowVisible(window) || GetClassNameW(window, className, 256) <= 0 ||
        !StartsWithNoCase(className, L"LUI_")) {
        return TRUE;
    }
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    AttachThreadInput(ownThread, foregroundThread, TRUE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    SetFocus(window);
    SetActiveWindow(window);
    AttachThreadInput(ownThread, foregroundThread, FALSE);
    return TRUE;
}

int RunSetup(HINSTANCE instance, const std::wstring& commandLine) {
    // The event marks a running installer; it lives as long as the process.
    CreateEventW(nullptr, TRUE, FALSE, kInstanceEventName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        EnumWindows(ActivateExistingWindow, 0);
        return kExitAlreadyRunning;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    if (StartsWithNoCase(commandLine, L"-?") || StartsWithNoCase(commandLine, L"/?")) {
        PrintHelp();
        return kExitOk;
    }
    if (StartsWithNoCase(commandLine, L"-p") || StartsWithNoCase(commandLine, L"/p")) {
        const PackerReport report = BuildOfflineInstaller(commandLine);
        PrintToCaller(report.lines);
        return report.ok ? kExitOk : kExitFailed;
    }
    if (HasSilentSwitch(commandLine)) Silent_Install = 1;

    ParseCommandLine(commandLine);
    const std::wstring logPath = GetLogPath(commandLine);
    // Without its log the run goes on: the lines are kept for a failure log all the same.
    const bool logged = logPath.empty() || WriteLogTo(logPath);
    ToolkitModule.Start(instance);
    LoadUiData(ToolkitModule.instance, L"");
    LogRun(commandLine);
    if (!logged) DebugPrint(L"the log cannot be written to %ls", logPath.c_str());

    int code = kExitFailed;
    if (OsInfo::Get().OsVersion <= kNewestRefusedOsVersion) {
        DebugPrint(L"this version of Windows is too old");
        MessageBoxW(nullptr, Run_Os_Too_Old_Text.c_str(), App_Name.c_str(), MB_OK);
    } else {
        code = RunSequences(commandLine);
    }
    if (code == kExitFailed) KeepFailureLog();
    DebugPrint(L"exit code %d", code);
    return code;
}
