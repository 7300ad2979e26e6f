#include "report/report_packet.h"

#include <zlib.h>

#include <cstring>

#include "report/public_block.h"

std::vector<uint8_t> BuildPacket(int type, const std::vector<const KDirectInfoc::KInstallSerialize*>& blocks) {
    std::vector<uint8_t> packet(sizeof(ReportPacketHeader), 0);
    uLong crc = crc32(0L, Z_NULL, 0);
    for (const KDirectInfoc::KInstallSerialize* block : blocks) {
        const std::vector<uint8_t>& bytes = block->out();
        packet.insert(packet.end(), bytes.begin(), bytes.end());
        crc = crc32(crc, bytes.data(), static_cast<uInt>(bytes.size()));
    }
    ReportPacketHeader header = {};
    header.length = static_cast<uint16_t>(packet.size());
    header.version = kReportPacketVersion;
    header.type = KDirectInfoc::ReportTypeByte(type);
    header.blocks = static_cast<uint16_t>(blocks.size());
    for (int i = 0; i < 4; ++i) header.crc[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    std::memcpy(packet.data(), &header, sizeof(header));
    return packet;
}
