// The toolkit's process-wide window state. UI thread only.
#pragma once

#include <windows.h>

#include <vector>

class LUIWin;

struct WindowRegistryEntry {
    HWND hwnd;
    LUIWin* window;
};

// Created windows in creation order; the window procedure finds its LUIWin here.
extern std::vector<WindowRegistryEntry> WindowRegistry;
// Set while the shared modal loop runs.
extern bool MessageLoopActive;

LUIWin* FindRegisteredWindow(HWND hwnd);
// Removes the first entry with this handle.
void UnregisterWindow(HWND hwnd);
// True while some registered window is visible.
bool AnyRegisteredWindowVisible();
