#include "app/run_mode.h"

#include <gtest/gtest.h>

#include "config/ui_data.h"

TEST(IsUninstallMode, ComparesTheFileNameSuffixWithoutCase) {
    const struct { const wchar_t* uninstApp; bool uninstall; } cases[] = {
        {L"\\uninstall.exe", false},
        {L"\\LWTESTS.exe", true},   // this program's own name, in another case
        {L"tests.exe", true},
        {L"", true},                // an empty name matches every path
    };
    for (const auto& c : cases) {
        Uninst_App = c.uninstApp;
        EXPECT_EQ(IsUninstallMode(), c.uninstall) << c.uninstApp;
    }
}
