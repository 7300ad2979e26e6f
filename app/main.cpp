#include <windows.h>

#include "app/entry.h"
#include "base/dll_search.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    LimitDllSearchToSystem();
    return RunSetup(instance, commandLine ? commandLine : L"");
}
