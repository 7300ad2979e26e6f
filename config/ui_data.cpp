#include "config/ui_data.h"

#include <tinyxml.h>

#include <cstring>
#include <cwchar>

#include "base/probes.h"
#include "base/text_convert.h"
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

bool SameNoCase(const char* a, const char* b) { return a && b && _stricmp(a, b) == 0; }

const TiXmlElement* FindSection(const TiXmlElement* root, const char* name) {
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (SameNoCase(e->Value(), name)) return e;
    }
    return nullptr;
}

// An item without a name ends the search for every key: nothing after it can be found.
const TiXmlElement* FindItem(const TiXmlElement* root, const char* section, const char* key) {
    const TiXmlElement* items = FindSection(root, section);
    if (!items) return nullptr;
    for (const TiXmlElement* e = items->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* name = e->Attribute("name");
        if (!name || !*name) return nullptr;
        if (std::strcmp(name, key) == 0) return e;
    }
    return nullptr;
}

// wcstol's decimal reading: leading blanks and a sign, digits up to the first other character.
long ParseDecimal(const char* text) {
    if (!text) return 0;
    return std::wcstol(Utf8ToWide(text).c_str(), nullptr, 10);
}

// TinyXML reads only LF line ends inside text, as its own file loader arranges.
std::string NormaliseLineEnds(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

std::wstring PickUiLanguageFor(LANGID userLanguage) {
    for (const auto& row : kLanguageTable) {
        if (row.id == userLanguage) return row.code;
    }
    return L"";
}

std::wstring PickUiLanguage() { return PickUiLanguageFor(GetUserDefaultUILanguage()); }

DWORD ReadColorItem(const TiXmlElement* root, const char* key) {
    const TiXmlElement* item = FindItem(root, "color", key);
    if (!item) return 0xFF000000u;
    auto channel = [item](const char* name) {
        return static_cast<DWORD>(ParseDecimal(item->Attribute(name))) & 0xFF;
    };
    return channel("a") << 24 | channel("r") << 16 | channel("g") << 8 | channel("b");
}

std::wstring ReadStringItem(const TiXmlElement* root, const char* key) {
    const TiXmlElement* item = FindItem(root, "string", key);
    if (!item) return L"";
    const std::string code = WideToUtf8(UiData.language);
    for (const TiXmlElement* e = item->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (SameNoCase(e->Value(), code.c_str())) return Utf8ToWide(e->GetText());
    }
    // Without its own text, an item not translated into this language shows its first
    // language rather than nothing: an empty window title, button or link name helps no one.
    if (!item->GetText() && item->FirstChildElement()) {
        return Utf8ToWide(item->FirstChildElement()->GetText());
    }
    return Utf8ToWide(item->GetText());
}

int ReadIntItem(const TiXmlElement* root, const char* key) {
    const TiXmlElement* item = FindItem(root, "int", key);
    return item ? static_cast<int>(ParseDecimal(item->Attribute("v"))) : 0;
}

void LoadUiDataFromDocument(const std::string& document, const std::wstring& language) {
    UiData.language = language.empty() ? PickUiLanguage() : language;

    TiXmlDocument xml;
    xml.Parse(NormaliseLineEnds(document).c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (xml.Error()) return;
    const TiXmlElement* root = xml.FirstChildElement();
    if (!root || !SameNoCase(root->Value(), "uidata")) return;

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
