#include "ui/window_registry.h"

#include <algorithm>

std::vector<WindowRegistryEntry> WindowRegistry;
bool MessageLoopActive = false;

LUIWin* FindRegisteredWindow(HWND hwnd) {
    for (const WindowRegistryEntry& entry : WindowRegistry) {
        if (entry.hwnd == hwnd) return entry.window;
    }
    return nullptr;
}

void UnregisterWindow(HWND hwnd) {
    const auto entry = std::find_if(WindowRegistry.begin(), WindowRegistry.end(),
                                    [hwnd](const WindowRegistryEntry& e) { return e.hwnd == hwnd; });
    if (entry != WindowRegistry.end()) WindowRegistry.erase(entry);
}

bool AnyRegisteredWindowVisible() {
    return std::any_of(WindowRegistry.begin(), WindowRegistry.end(),
                       [](const WindowRegistryEntry& e) { return e.hwnd && IsWindowVisible(e.hwnd); });
}
