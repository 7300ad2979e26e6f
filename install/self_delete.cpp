#include "install/self_delete.h"

#include <windows.h>
#include <objbase.h>
#include <sddl.h>

#include "base/file_util.h"
#include "base/handles.h"
#include "base/probes.h"
#include "base/resolved_path.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "install/file_removal.h"
#include "install/path_relation.h"

namespace {

const wchar_t kBatchName[] = L"lwpx_clear.bat";
constexpr int kDeleteRounds = 3;
// Full control for SYSTEM and administrators, nothing inherited and nothing for anyone else:
// cmd reads a batch line by line while it runs, and it runs with our rights.
const wchar_t kAdminOnlyDacl[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

std::wstring Quoted(const std::wstring& path) {
    std::wstring escaped;
    for (wchar_t c : path) {
        if (c == L'%') escaped += L'%';
        escaped += c;
    }
    return L"\"" + escaped + L"\"";
}

// The text in the console's (OEM) code page, the one cmd reads batch files in; it differs
// from the ANSI code page on many systems (1252 against 850). False when a character has no
// equivalent there (a replacement character could make del match a different file).
bool ToConsoleText(const std::wstring& text, std::string* bytes) {
    if (text.empty()) return true;
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, text.c_str(),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         &lossy);
    if (size <= 0 || lossy) return false;
    bytes->assign(size, '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, text.c_str(),
                        static_cast<int>(text.size()), &(*bytes)[0], size, nullptr, &lossy);
    return !lossy;
}

bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
    const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool StartHidden(const std::wstring& program, std::wstring commandLine, const std::wstring& dir) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, dir.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

std::wstring CreateBatchDir() {
    const std::wstring windowsDir = SystemFolder(GetWindowsDirectoryW);
    GUID guid = {};
    if (windowsDir.empty() || FAILED(CoCreateGuid(&guid))) return L"";
    wchar_t name[64] = {};
    wsprintfW(name, L"lwpx-%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", guid.Data1,
              guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
              guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    UniqueLocalPointer<PSECURITY_DESCRIPTOR> descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdminOnlyDacl, SDDL_REVISION_1,
                                                              descriptor.put(), nullptr)) {
        return L"";
    }
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor.get(), FALSE};
    const std::wstring dir = JoinPath(windowsDir, std::wstring(L"Temp\\") + name);
    // A new name only: a directory someone prepared beforehand is never used.
    return CreateDirectoryW(dir.c_str(), &security) ? dir : L"";
}

std::vector<std::wstring> SelfDeleteBatchLines(const SelfDeletePlan& plan) {
    // Three rounds of waiting a second and trying to delete the uninstaller, written out
    // rather than as a "for" loop: cmd substitutes a loop variable inside the paths too (a
    // folder named "a%i" would become "a1"), however their percent signs are escaped.
    std::vector<std::wstring> lines;
    for (int round = 0; round < kDeleteRounds; ++round) {
        lines.push_back(Quoted(plan.timeoutPath) + L" /T 1");
        lines.push_back(L"del " + Quoted(plan.exePath));
    }
    // Only a directory named like the product's is removed, and what was in it went before
    // the batch was started.
    if (IsNamedLikeInstallDir(plan.exeDir)) lines.push_back(L"rmdir " + Quoted(plan.exeDir));
    // One line: once the batch is gone, cmd cannot read another line of it.
    lines.push_back(L"del " + Quoted(plan.batchPath) + L" & rmdir " +
                    Quoted(ParentDir(plan.batchPath)) + L" & exit 0");
    return lines;
}

bool ScheduleSelfDelete(const std::wstring& exePath) {
    const std::wstring systemDir = SystemFolder(GetSystemDirectoryW);
    if (systemDir.empty()) return false;
    SelfDeletePlan plan;
    plan.exePath = exePath;
    plan.exeDir = GetModuleDir();
    // Everything else goes now, each directory checked against where it resolves; the running
    // uninstaller and the directory itself stay for the batch.
    if (IsNamedLikeInstallDir(plan.exeDir)) {
        DeleteTree(plan.exeDir, ResolvedBelow(ParentDir(plan.exeDir), plan.exeDir));
    }
    plan.timeoutPath = JoinPath(systemDir, L"timeout.exe");
    const std::wstring batchDir = CreateBatchDir();
    if (batchDir.empty()) return false;
    plan.batchPath = JoinPath(batchDir, kBatchName);

    std::wstring text;
    for (const std::wstring& line : SelfDeleteBatchLines(plan)) text += line + L"\r\n";
    std::string bytes;
    if (!ToConsoleText(text, &bytes) || !WriteNewFile(plan.batchPath, bytes)) {
        DeleteFileW(plan.batchPath.c_str());
        RemoveDirectoryW(batchDir.c_str());
        return false;
    }
    const std::wstring cmd = JoinPath(systemDir, L"cmd.exe");
    const std::wstring commandLine =
        L"\"" + cmd + L"\" /d /v:off /c \"\"" + plan.batchPath + L"\"\"";
    if (StartHidden(cmd, commandLine, systemDir)) return true;
    DeleteFileW(plan.batchPath.c_str());
    RemoveDirectoryW(batchDir.c_str());
    return false;
}
