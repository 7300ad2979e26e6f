#include "install/self_delete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ui_data.h"

TEST(SelfDeleteBatch, WaitsDeletesTheUninstallerTheDirectoryAndItself) {
    Install_Dir = L"LarwenPic";
    SelfDeletePlan plan;
    plan.exePath = L"D:\\Apps\\larwenpic\\uninstall.exe";
    plan.exeDir = L"D:\\Apps\\larwenpic";
    plan.batchPath = L"C:\\Windows\\Temp\\lwpx-1\\lwpx_clear.bat";
    plan.timeoutPath = L"C:\\Windows\\system32\\timeout.exe";
    const std::vector<std::wstring> expected = {
        L"\"C:\\Windows\\system32\\timeout.exe\" /T 1",
        L"del \"D:\\Apps\\larwenpic\\uninstall.exe\"",
        L"\"C:\\Windows\\system32\\timeout.exe\" /T 1",
        L"del \"D:\\Apps\\larwenpic\\uninstall.exe\"",
        L"\"C:\\Windows\\system32\\timeout.exe\" /T 1",
        L"del \"D:\\Apps\\larwenpic\\uninstall.exe\"",
        L"rmdir /S /Q \"D:\\Apps\\larwenpic\"",
        L"del \"C:\\Windows\\Temp\\lwpx-1\\lwpx_clear.bat\" & rmdir \"C:\\Windows\\Temp\\lwpx-1\" & exit 0",
    };
    EXPECT_EQ(SelfDeleteBatchLines(plan), expected);
}

TEST(SelfDeleteBatch, RemovesOnlyADirectoryNamedLikeTheProduct) {
    Install_Dir = L"LarwenPic";
    const struct {
        const wchar_t* dir;
        bool removed;
    } kCases[] = {
        {L"D:\\Apps\\LarwenPic", true},
        {L"D:\\Apps\\MyLarwenPic", false},
        {L"D:\\LarwenPic\\bin", false},
        {L"D:\\Users\\me\\Desktop", false},
    };
    for (const auto& row : kCases) {
        SelfDeletePlan plan;
        plan.exeDir = row.dir;
        plan.exePath = plan.exeDir + L"\\uninstall.exe";
        plan.batchPath = L"C:\\T\\x\\lwpx_clear.bat";
        const std::vector<std::wstring> lines = SelfDeleteBatchLines(plan);
        const bool hasRmdir = lines[6].compare(0, 11, L"rmdir /S /Q") == 0;
        EXPECT_EQ(hasRmdir, row.removed) << row.dir;
        EXPECT_EQ(lines.size(), row.removed ? 8u : 7u) << row.dir;
    }
    Install_Dir = L"";
    SelfDeletePlan plan;
    plan.exeDir = L"D:\\Apps";
    EXPECT_EQ(SelfDeleteBatchLines(plan).size(), 7u);
}

TEST(SelfDeleteBatch, DoublesPercentSignsSoCmdKeepsThemLiteral) {
    Install_Dir = L"LarwenPic";
    SelfDeletePlan plan;
    plan.exeDir = L"D:\\100%PATH%&x%i\\LarwenPic";
    plan.exePath = plan.exeDir + L"\\uninstall.exe";
    plan.batchPath = L"C:\\T\\x\\lwpx_clear.bat";
    plan.timeoutPath = L"C:\\S\\timeout.exe";
    const std::vector<std::wstring> lines = SelfDeleteBatchLines(plan);
    EXPECT_EQ(lines[1], L"del \"D:\\100%%PATH%%&x%%i\\LarwenPic\\uninstall.exe\"");
    EXPECT_EQ(lines[6], L"rmdir /S /Q \"D:\\100%%PATH%%&x%%i\\LarwenPic\"");
}
