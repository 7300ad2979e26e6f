#include "app/sequences.h"

void RunSequences(const std::wstring& commandLine) {
    // The pages and workers of the install and the uninstall are not part of this build yet:
    // a run ends after start-up.
    (void)commandLine;
}
