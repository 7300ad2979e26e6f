// The public block every report carries: time, machine id, system, version and three numbers.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "report/install_serialize.h"

namespace KDirectInfoc {

class KPublicBlock : public KInstallSerialize {};

// 0x51 for report type 2, 0x52 for type 3, 0x50 for any other type: the public block's id
// and the packet header's type byte.
uint8_t ReportTypeByte(int type);

// Fills `block` from the values of a report and finishes it; `now` is the time it carries.
void WritePublic(KPublicBlock* block, int type, const std::wstring& text1,
                 const std::wstring& text2, int number1, int number2, int number3,
                 std::time_t now = std::time(nullptr));

}  // namespace KDirectInfoc
