#include "app/command_line.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "config/ui_data.h"
#include "test_support.h"

TEST(TrackingIds, CommandLineThenFileName) {
    const struct {
        const wchar_t* commandLine;
        const wchar_t* fileName;
        bool valid;
        int tid1, tid2;
    } cases[] = {
        {L"/TID1:7 /tid2:9", L"setup.exe", true, 7, 9},          // prefix case ignored
        {L"/tid1:7", L"setup_3_1.exe", true, 3, 1},               // half a pair: the name decides
        {L"/tid1:7", L"setup.exe", false, 0, 0},
        {L"/tid1:-4 /tid2:2", L"setup.exe", true, -4, 2},         // negative ids are valid
        {L"/tid1:600000 /tid2:1", L"setup_5_6.exe", true, 5, 6},  // out of range: name decides
        {L"/tid1:500000 /tid2:500000", L"setup.exe", true, 500000, 500000},
        {L"", L"setup_12a_3.exe", false, 0, 0},                   // a non-digit part gives 0
        {L"", L"px_setup_2_2.exe", true, 2, 2},
        {L"", L"2_2.exe", false, 0, 0},                           // fewer than three parts
        {L"/tid1:1 /tid1:8 /tid2:4", L"setup.exe", true, 8, 4},   // a later word wins
        {L"/tid1:x /tid2:4", L"setup.exe", false, 0, 0},
        {L"/tid1:3/tid2:4", L"setup.exe", false, 0, 0},           // words are split at spaces
        {L"", L"a.exe", false, 0, 0},
        {L"", L"", false, 0, 0},
        {L"", L"setup_600001_1.exe", false, 0, 0},
    };
    for (const auto& c : cases) {
        Tid1 = Tid2 = 0;
        EXPECT_EQ(ParseTrackingIds(c.commandLine, c.fileName), c.valid)
            << c.commandLine << L" | " << c.fileName;
        EXPECT_EQ(Tid1, c.tid1) << c.commandLine << L" | " << c.fileName;
        EXPECT_EQ(Tid2, c.tid2) << c.commandLine << L" | " << c.fileName;
    }
}

TEST(TrackingIds, PlainNameFallsBackToTheConfiguration) {
    EXPECT_FALSE(ParseCommandLine(L""));  // the test program's own name carries no ids
    LoadUiData(nullptr, L"zh");
    EXPECT_EQ(Tid1, 1);
    EXPECT_EQ(Tid2, 1);
}

TEST(SilentInstallDir, TakesTheRestOfTheLineUpToAKnownSwitch) {
    Install_Dir = L"LarwenPic";
    const struct { const wchar_t* commandLine; const wchar_t* dir; } cases[] = {
        {L"/s /d=e:\\lw_px", L"e:\\lw_px\\LarwenPic"},
        {L"/s d=e:/a//b/", L"e:\\a\\b\\LarwenPic"},
        {L"/s /d=\"C:\\Program Files\\x\"", L"C:\\Program Files\\x\\LarwenPic"},
        {L"/s /d=\"C:\\x", L"C:\\LarwenPic"},                 // unbalanced quote loses the last character
        // Switches a deployment tool appends end the value; unknown words stay in it.
        {L"/s /d=e:\\x /tid1:3", L"e:\\x\\LarwenPic"},
        {L"/s d=e:\\x /TID2:5 /tid1:3", L"e:\\x\\LarwenPic"},
        {L"/s d=\"C:\\My Apps\" /closeapps", L"C:\\My Apps\\LarwenPic"},
        {L"/s d=e:\\x  /closeapps", L"e:\\x\\LarwenPic"},
        {L"/s d=\"C:\\My Apps\" /log=C:\\l.log", L"C:\\My Apps\\LarwenPic"},
        {L"/s d=C:\\My Apps \"/log=C:\\My Logs\\l.log\"", L"C:\\My Apps\\LarwenPic"},
        // The whole switch quoted, as Wine passes an argument that holds a blank.
        {L"/s \"d=C:\\My Dir\" /closeapps", L"C:\\My Dir\\LarwenPic"},
        {L"/s d=e:\\x /other", L"e:\\x \\other\\LarwenPic"},
        {L"/s d=e:\\x/tid1:3", L"e:\\x\\tid1:3\\LarwenPic"},  // no blank: part of the path
        {L"/s /D=e:\\x", L""},                                // upper case is not the switch
        {L"d=e:\\x", L""},                                    // at the very start: ignored
        {L"/s", L""},
        {L"/s /d=e:\\\\\\x", L"e:\\\\x\\LarwenPic"},         // one pass: three become two
        {L"/s /d=", L"\\LarwenPic"},
        // A "d=" inside the log file's name is that name's, wherever the log switch stands.
        {L"/s /log=C:\\build=2\\setup.log d=D:\\Apps", L"D:\\Apps\\LarwenPic"},
        {L"/s \"/log=C:\\My build=2\\setup.log\" d=D:\\Apps", L"D:\\Apps\\LarwenPic"},
        {L"/s d=D:\\Apps /log=C:\\build=2\\setup.log", L"D:\\Apps\\LarwenPic"},
        {L"/s /log=C:\\build=2\\setup.log", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetSilentInstallDir(c.commandLine), c.dir) << c.commandLine;
}

TEST(LogPath, TheValueOfTheLogSwitchUpToAKnownSwitch) {
    const struct { const wchar_t* commandLine; const wchar_t* path; } cases[] = {
        {L"/s /log=C:\\setup.log", L"C:\\setup.log"},
        {L"/S /LOG=C:\\setup.log d=C:\\Apps", L"C:\\setup.log"},
        {L"/s d=C:\\Apps /log=\"C:\\My Logs\\setup.log\" /closeapps", L"C:\\My Logs\\setup.log"},
        {L"/s \"/log=C:\\My Logs\\setup.log\" d=C:\\Apps", L"C:\\My Logs\\setup.log"},
        {L"/log=relative.log", L"relative.log"},
        {L"/s d=C:\\x/log=y", L""},  // inside another word: no switch
        {L"/s /log=", L""},
        {L"/s", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetLogPath(c.commandLine), c.path) << c.commandLine;
}

TEST(Switches, SilentOnlyAtTheStartOfTheLine) {
    const struct { const wchar_t* commandLine; bool silent; } cases[] = {
        {L"/s", true}, {L"/I d=C:\\x", true}, {L"-S", true}, {L"-install", true},
        {L"d=C:\\x /s", false}, {L" /s", false}, {L"/x", false}, {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasSilentSwitch(c.commandLine), c.silent) << c.commandLine;
}

TEST(Switches, AWordOfTheCommandLineIgnoringCase) {
    const struct { const wchar_t* commandLine; bool found; } cases[] = {
        {L"/s d=e:\\x /closeapps", true},
        {L"/S /CloseApps", true},
        {L"/s /closeappsx", false},
        {L"/s d=e:\\closeapps", false},
        {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasSwitch(c.commandLine, kCloseAppsSwitch), c.found) << c.commandLine;
}
