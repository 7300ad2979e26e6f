#include "report/public_block.h"

#include "report/os_code.h"

namespace KDirectInfoc {

uint8_t ReportTypeByte(int type) {
    switch (type) {
        case 2: return 0x51;
        case 3: return 0x52;
        default: return 0x50;
    }
}

void WritePublic(KPublicBlock* block, int type, const std::wstring& text1,
                 const std::wstring& text2, int number1, int number2, int number3,
                 std::time_t now) {
    block->set_id(ReportTypeByte(type));
    block->WriteInt(static_cast<int>(static_cast<uint32_t>(now)));
    block->WriteString(L"");  // a field the receiver expects, always empty here
    block->WriteString(text1);
    block->WriteByte(OsCode());
    block->WriteString(text2);
    block->WriteInt(number1);
    block->WriteInt(number2);
    block->WriteInt(number3);
    block->Finish();
}

}  // namespace KDirectInfoc
