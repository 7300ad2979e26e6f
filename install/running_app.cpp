#include "install/running_app.h"

#include <tlhelp32.h>

#include "base/handles.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "install/path_relation.h"
#include "install/uninstall_entry.h"

namespace {

// How long a terminated process is given to end. It lets go of its files only then, and the
// callers go on to replace or delete them.
constexpr DWORD kEndWaitMs = 5000;

// Opens the process for termination, ends it and waits (bounded) until it has ended; false
// when it could not be opened.
bool TerminateProcessById(DWORD processId, BOOL* result) {
    const UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) return false;
    *result = TerminateProcess(process.get(), 0);
    if (*result) WaitForSingleObject(process.get(), kEndWaitMs);
    return true;
}

// Calls `visit` for every entry of a fresh process snapshot; false when none can be taken.
template <typename Visit>
bool ForEachProcess(Visit visit) {
    const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        visit(entry);
    }
    return true;
}

}  // namespace

std::wstring GetProcessImagePath(DWORD processId) {
    const UniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return L"";
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &length)) return L"";
    return std::wstring(path, length);
}

bool FindRunningApp(std::vector<DWORD>& list) {
    const std::wstring dir = ReadInstallLocation(REG_KEY);
    if (dir.empty()) return false;
    const DWORD self = GetCurrentProcessId();
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (entry.th32ProcessID == self) return;
        // Below the directory only: a sibling such as ...\App2 for ...\App is not ours.
        if (IsPathBelow(GetProcessImagePath(entry.th32ProcessID), dir)) {
            list.push_back(entry.th32ProcessID);
        }
    });
    return !list.empty();
}

void TerminateRunningApp() {
    std::vector<DWORD> list;
    FindRunningApp(list);
    BOOL ignored = FALSE;
    for (DWORD processId : list) TerminateProcessById(processId, &ignored);
}

BOOL TerminateProcessesByName(const std::wstring& name) {
    BOOL last = 0;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (EqualsNoCase(entry.szExeFile, name)) {
            TerminateProcessById(entry.th32ProcessID, &last);
        }
    });
    return last;
}
