// The uidata document (config/ui_data_reader.cpp), as an offline installer or a package
// carries it: the document is parsed and every key the installer reads is read from it, in
// the first language, in English and with no language known.
#include <tinyxml.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "config/ui_data_reader.h"
#include "config/ui_keys.h"
#include "native/fuzz_check.h"

namespace {

void ReadEveryKey(const TiXmlElement* root, const std::wstring& language) {
#define LW_READ_COLOR(name, value) ReadColorItem(root, #name);
#define LW_READ_STRING(name, value) ReadStringItem(root, #name, language);
#define LW_READ_INT(name, value) ReadIntItem(root, #name);
    LW_COLOR_KEYS(LW_READ_COLOR)
    LW_STRING_KEYS(LW_READ_STRING)
    LW_INT_KEYS(LW_READ_INT)
#undef LW_READ_COLOR
#undef LW_READ_STRING
#undef LW_READ_INT
    ReadIntItem(root, "Tid1");
    ReadIntItem(root, "Tid2");
    ReadIntItem(root, "Silent_Install");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string document(reinterpret_cast<const char*>(data), size);
    TiXmlDocument xml;
    const TiXmlElement* root = ParseUiDataDocument(document, &xml);
    if (!root) return 0;
    FUZZ_CHECK(!xml.Error());
    for (const wchar_t* language : {L"zh", L"en", L""}) ReadEveryKey(root, language);

    // A missing key reads as the documented "not found" values.
    FUZZ_CHECK(ReadColorItem(root, "") == 0xFF000000u);
    FUZZ_CHECK(ReadStringItem(root, "", L"zh").empty());
    FUZZ_CHECK(ReadIntItem(root, "") == 0);
    return 0;
}
