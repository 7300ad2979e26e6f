// Writes the packet decoder's seeds with the installer's own encoder: whole packets as the
// installer posts them (packet_*), and the same blocks in the fuzzer's framed form (body_*:
// the type byte, the block count less one, then the blocks). Built and run by hand:
//   clang++-14 -std=c++17 -I. -Itests/fuzz tests/fuzz/packet_decoder/make_seeds.cpp \
//     report/report_packet.cpp report/public_block.cpp report/serialize_kfmt.cpp \
//     report/install_serialize.cpp tests/fuzz/native/text_convert.cpp -lz -o /tmp/make_seeds
//   /tmp/make_seeds tests/fuzz/packet_decoder/corpus
#include <cstdio>
#include <string>
#include <vector>

#include "report/public_block.h"
#include "report/record_schemas.h"
#include "report/report_packet.h"
#include "report/serialize_kfmt.h"

// The system code the public block carries; any fixed value will do for seeds.
int OsCode() { return 10; }

namespace {

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void WriteBoth(const std::string& dir, const std::string& name,
               const std::vector<const KDirectInfoc::KInstallSerialize*>& blocks) {
    const std::vector<uint8_t> packet = BuildPacket(kInstallerReportType, blocks);
    Write(dir + "/packet_" + name, packet);
    std::vector<uint8_t> body = {packet[3], static_cast<uint8_t>(blocks.size() - 1)};
    body.insert(body.end(), packet.begin() + sizeof(ReportPacketHeader), packet.end());
    Write(dir + "/body_" + name, body);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    KDirectInfoc::KPublicBlock publicBlock;
    KDirectInfoc::WritePublic(&publicBlock, kInstallerReportType, L"0123456789abcdef0123456789abcdef",
                              L"1.1", 1, 2, 3, 0x5A5A1234);
    WriteBoth(dir, "public_only", {&publicBlock});

    KSerializeKFMT install;
    install.ParseSchema(kInstallSchema);
    install.AddInt(L"step", 6);
    install.AddInt(L"err_code", 4);
    install.AddInt(L"sub_err_code", 0x102);
    install.AddString(L"err_msg", L"解压失败 \"x\"");
    install.Finish();
    WriteBoth(dir, "install", {&publicBlock, &install});

    KSerializeKFMT uninstall;
    uninstall.ParseSchema(kUninstallSchema);
    uninstall.AddString(L"user_info", L"user");
    uninstall.AddInt(L"vip_level", 1);
    uninstall.AddInt(L"reason", 3);
    uninstall.AddInt(L"result", 0);
    uninstall.Finish();
    WriteBoth(dir, "uninstall", {&publicBlock, &uninstall});
    return 0;
}
