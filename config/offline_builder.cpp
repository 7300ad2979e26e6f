#include "config/offline_builder.h"

void BuildOfflineInstaller(const std::wstring& commandLine) {
    // Packing is not part of this build yet: the mode ends without output.
    (void)commandLine;
}
