// The toolkit's process record: the module every resource comes from, and GDI+.
#pragma once

#include <windows.h>

struct ToolkitModuleRecord {
    HINSTANCE instance = nullptr;  // null: the executable itself
    ULONG_PTR gdiplusToken = 0;

    // Records the instance and starts GDI+; false when GDI+ could not start.
    bool Start(HINSTANCE moduleInstance);
    // GDI+ stays up until the process ends.
    ~ToolkitModuleRecord();
};

extern ToolkitModuleRecord ToolkitModule;
