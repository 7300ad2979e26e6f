// One decoded report as a single line of JSON.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "report/packet_decoder.h"

// {"ok":..., "error":..., header fields, "public":{...}, "record":{...}, "raw":"<hex>"}
std::string ReportJsonLine(const DecodedPacket& packet, const uint8_t* raw, size_t size);
