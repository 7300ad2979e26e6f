#include "base/desktop_launch.h"

#include <exdisp.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <utility>

#include "base/diagnostics.h"

namespace {

// Starts `path` with `parameters` through this process's shell, never showing an error box.
// `process` (may be null) receives the started process when the shell made one; `error`
// receives GetLastError after the call either way.
bool ShellStart(const std::wstring& path, const std::wstring& parameters, int show,
                UniqueHandle* process, DWORD* error) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // No error box: an unattended run must not stop on a dialog; the caller reports the code.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = path.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = show;
    SetLastError(0);
    const bool ok = ShellExecuteExW(&info) != FALSE;
    if (error) *error = GetLastError();
    UniqueHandle started(info.hProcess);
    if (process) *process = std::move(started);
    return ok;
}

// A VARIANT that owns what it holds.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    explicit Variant(int number) : Variant() {
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    explicit Variant(const std::wstring& text) : Variant() {
        value_.vt = VT_BSTR;
        value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT& get() { return value_; }

private:
    VARIANT value_;
};

// The desktop's shell automation object, reached from the desktop window of the running
// Explorer; every step is that process's, so the programs it starts are its user's.
HRESULT DesktopShell(ComPtr<IShellDispatch2>* shell) {
    ComPtr<IShellWindows> windows;
    HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_IShellWindows, windows.receive());
    if (FAILED(hr)) return hr;
    Variant desktop(CSIDL_DESKTOP);
    Variant none;
    long window = 0;
    ComPtr<IDispatch> found;
    hr = windows->FindWindowSW(&desktop.get(), &none.get(), SWC_DESKTOP, &window,
                               SWFO_NEEDDISPATCH, found.put());
    if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
    ComPtr<IServiceProvider> provider;
    if (FAILED(hr = found->QueryInterface(IID_IServiceProvider, provider.receive()))) return hr;
    ComPtr<IShellBrowser> browser;
    hr = provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.receive());
    if (FAILED(hr)) return hr;
    ComPtr<IShellView> view;
    if (FAILED(hr = browser->QueryActiveShellView(view.put()))) return hr;
    ComPtr<IDispatch> background;
    hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.receive());
    if (FAILED(hr)) return hr;
    ComPtr<IShellFolderViewDual> folderView;
    hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.receive());
    if (FAILED(hr)) return hr;
    ComPtr<IDispatch> application;
    if (FAILED(hr = folderView->get_Application(application.put()))) return hr;
    return application->QueryInterface(IID_IShellDispatch2, shell->receive());
}

HRESULT StartThroughDesktopShell(const std::wstring& path, const std::wstring& parameters,
                                 int show) {
    const ComApartment com;
    if (!com.ready()) return E_UNEXPECTED;
    ComPtr<IShellDispatch2> shell;
    const HRESULT hr = DesktopShell(&shell);
    if (FAILED(hr)) return hr;
    BSTR file = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
    if (!file) return E_OUTOFMEMORY;
    Variant arguments(parameters);
    Variant directory;  // the shell's own, as a direct start keeps this process's
    Variant operation;
    Variant showAs(show);
    const HRESULT started = shell->ShellExecute(file, arguments.get(), directory.get(),
                                                operation.get(), showAs.get());
    SysFreeString(file);
    return started;
}

}  // namespace

bool StartAsDesktopUser(const std::wstring& path, const std::wstring& parameters, int show,
                        UniqueHandle* process, DWORD* error) {
    const std::wstring command = parameters.empty() ? path : path + L" " + parameters;
    // The desktop's shell only takes the request and answers for a missing file with a box
    // of its own, so that failure is found here, with the code a direct start gives.
    if (!PathIsURLW(path.c_str()) && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD missing = GetLastError();
        DebugPrint(L"[%d] cannot start %ls", static_cast<int>(missing), command.c_str());
        if (error) *error = missing;
        return false;
    }
    const HRESULT hr = StartThroughDesktopShell(path, parameters, show);
    if (SUCCEEDED(hr)) {
        DebugPrint(L"started %ls through the desktop's shell", command.c_str());
        if (error) *error = 0;
        return true;
    }
    DebugPrint(L"the desktop's shell cannot start %ls (0x%08lX): starting it directly",
               command.c_str(), static_cast<unsigned long>(hr));
    return ShellStart(path, parameters, show, process, error);
}

bool LaunchFile(const std::wstring& path, DWORD* error) {
    // Nobody waits for the started program; its handle is not kept.
    return StartAsDesktopUser(path, L"", SW_SHOW, nullptr, error);
}
