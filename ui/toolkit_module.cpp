#include "ui/toolkit_module.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui/font_cache.h"

ToolkitModuleRecord ToolkitModule;

bool ToolkitModuleRecord::Start(HINSTANCE moduleInstance) {
    instance = moduleInstance;
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug hook, background thread on
    return Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

ToolkitModuleRecord::~ToolkitModuleRecord() {
    ReleaseCachedFonts();
    if (gdiplusToken != 0) Gdiplus::GdiplusShutdown(gdiplusToken);
}
