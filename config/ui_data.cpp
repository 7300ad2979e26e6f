#include "config/ui_data.h"

#include <tinyxml.h>

#include "base/probes.h"
#include "config/resources.h"
#include "config/tracking_ids.h"
#include "config/version_info.h"

#define LW_DEFINE_COLOR(name, value) DWORD name = value;
#define LW_DEFINE_STRING(name, value) std::wstring name = value;
#define LW_DEFINE_INT(name, value) int name = value;
LW_COLOR_KEYS(LW_DEFINE_COLOR)
LW_STRING_KEYS(LW_DEFINE_STRING)
LW_INT_KEYS(LW_DEFINE_INT)
#undef LW_DEFINE_COLOR
#undef LW_DEFINE_STRING
#undef LW_DEFINE_INT

int Silent_Install = 0;
UiDataModel UiData;

namespace {

const struct { LANGID id; const wchar_t* code; } kLanguageTable[] = {
    {0x0804, L"zh"}, {0x0409, L"en"}, {0x0411, L"ja"}, {0x0412, L"ko"}, {0x0421, L"en"},
    {0x0407, L"de"}, {0x040C, L"fr"}, {0x0410, L"it"}, {0x0416, L"pt"}, {0x0C0A, L"es"},
    {0x0419, L"ru"}, {0x041F, L"tr"}, {0x042A, L"vi"},
};

}  // namespace

std::wstring PickUiLanguageFor(LANGID userLanguage) {
    for (const auto& row : kLanguageTable) {
        if (row.id == userLanguage) return row.code;
    }
    return L"";
}

std::wstring PickUiLanguage() { return PickUiLanguageFor(GetUserDefaultUILanguage()); }

std::wstring ReadStringItem(const TiXmlElement* root, const char* key) {
    return ReadStringItem(root, key, UiData.language);
}

void LoadUiDataFromDocument(const std::string& document, const std::wstring& language) {
    UiData.language = language.empty() ? PickUiLanguage() : language;

    TiXmlDocument xml;
    const TiXmlElement* root = ParseUiDataDocument(document, &xml);
    if (!root) return;

#define LW_READ_COLOR(name, value) name = ReadColorItem(root, #name);
#define LW_READ_STRING(name, value) name = ReadStringItem(root, #name);
#define LW_READ_INT(name, value) name = ReadIntItem(root, #name);
    LW_COLOR_KEYS(LW_READ_COLOR)
    LW_STRING_KEYS(LW_READ_STRING)
    LW_INT_KEYS(LW_READ_INT)
#undef LW_READ_COLOR
#undef LW_READ_STRING
#undef LW_READ_INT

    if (Tid1 == 0 && Tid2 == 0) {
        Tid1 = ReadIntItem(root, "Tid1");
        Tid2 = ReadIntItem(root, "Tid2");
    }
    if (Silent_Install == 0) Silent_Install = ReadIntItem(root, "Silent_Install");

    // The installer's own FileVersion names the product version it ships.
    const std::wstring version = ReadFileVersion(GetModulePath());
    if (!version.empty()) App_Version = version;
}

void LoadUiData(HINSTANCE module, const std::wstring& language) {
    // A missing or empty resource leaves the text empty, which does not parse.
    std::string document;
    LoadXmlResource(module, &document);
    LoadUiDataFromDocument(document, language);
}
