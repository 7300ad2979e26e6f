// The frame around the blocks of one report, as posted to the report server.
#pragma once

#include <cstdint>
#include <vector>

#include "report/install_serialize.h"

#pragma pack(push, 1)
struct ReportPacketHeader {
    uint16_t length;   // whole packet, header included, modulo 65536 (little-endian)
    uint8_t version;   // always kReportPacketVersion
    uint8_t type;      // ReportTypeByte of the report type
    uint16_t blocks;   // number of blocks (little-endian)
    uint8_t crc[4];    // CRC-32 of every byte after the header, most significant byte first
};
#pragma pack(pop)
static_assert(sizeof(ReportPacketHeader) == 10, "the packet header has 10 bytes on the wire");

constexpr uint8_t kReportPacketVersion = 2;

// The header followed by the finished bytes of each block, in order.
std::vector<uint8_t> BuildPacket(int type, const std::vector<const KDirectInfoc::KInstallSerialize*>& blocks);
