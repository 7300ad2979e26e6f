#include "install/self_delete.h"

#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "base/handles.h"
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
        L"rmdir \"D:\\Apps\\larwenpic\"",
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
        const bool hasRmdir = lines[6].compare(0, 6, L"rmdir ") == 0;
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
    EXPECT_EQ(lines[6], L"rmdir \"D:\\100%%PATH%%&x%%i\\LarwenPic\"");
}

namespace {

// The DACL of `path` in the system's text form; empty when it cannot be read.
std::wstring DaclText(const std::wstring& path) {
    PACL dacl = nullptr;
    UniqueLocalPointer<PSECURITY_DESCRIPTOR> descriptor;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, descriptor.put()) != ERROR_SUCCESS) {
        return L"";
    }
    UniqueLocalPointer<wchar_t*> text;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor.get(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, text.put(), nullptr)) {
        return L"";
    }
    return text.get();
}

// True when a directory created with a DACL reads it back: Wine keeps none, and shows one
// made from the Unix mode bits instead.
bool KeepsDirectoryDacls(const std::wstring& parent) {
    const std::wstring probe = parent + L"\\dacl-probe";
    const wchar_t kProbeDacl[] = L"D:P(A;OICI;FA;;;WD)";
    UniqueLocalPointer<PSECURITY_DESCRIPTOR> descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProbeDacl, SDDL_REVISION_1,
                                                              descriptor.put(), nullptr)) {
        return false;
    }
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor.get(), FALSE};
    if (!CreateDirectoryW(probe.c_str(), &security)) return false;
    const bool kept = DaclText(probe) == kProbeDacl;
    RemoveDirectoryW(probe.c_str());
    return kept;
}

}  // namespace

TEST(SelfDeleteBatch, ItsDirectoryIsNewAndOnlySystemAndAdministratorsMayEnter) {
    const std::wstring dir = CreateBatchDir();
    ASSERT_FALSE(dir.empty());
    const std::wstring second = CreateBatchDir();
    EXPECT_FALSE(second.empty());
    EXPECT_NE(second, dir);
    const bool kept = KeepsDirectoryDacls(dir);
    const std::wstring dacl = DaclText(dir);
    EXPECT_TRUE(RemoveDirectoryW(second.c_str()));
    EXPECT_TRUE(RemoveDirectoryW(dir.c_str()));
    if (!kept) {
        GTEST_SKIP() << "this system keeps no DACL on a directory (it read back " << dacl
                     << "), so the batch directory's DACL cannot be read back";
    }
    // Protected: nothing inherited from the Temp directory, which everybody may write.
    EXPECT_EQ(dacl, L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
}
