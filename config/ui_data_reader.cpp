#include "config/ui_data_reader.h"

#include <tinyxml.h>

#include <cstring>
#include <cwchar>

#include "base/text_convert.h"

namespace {

// Letters compared as ASCII, as _stricmp compares them in the C locale the installer keeps.
bool SameNoCase(const char* a, const char* b) {
    if (!a || !b) return false;
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (; *a && *b; ++a, ++b) {
        if (lower(*a) != lower(*b)) return false;
    }
    return *a == *b;
}

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

const TiXmlElement* ParseUiDataDocument(const std::string& document, TiXmlDocument* xml) {
    // The text ends at its first null character, as TinyXML reads it. TinyXML steps over a
    // whole UTF-8 sequence as its first byte announces it, even when the text ends inside it,
    // and so reads up to three bytes past the end: the nulls after the text stop it there.
    std::string text = NormaliseLineEnds(document.substr(0, document.find('\0')));
    text.append(4, '\0');
    xml->Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (xml->Error()) return nullptr;
    const TiXmlElement* root = xml->FirstChildElement();
    if (!root || !SameNoCase(root->Value(), "uidata")) return nullptr;
    return root;
}

uint32_t ReadColorItem(const TiXmlElement* root, const char* key) {
    const TiXmlElement* item = FindItem(root, "color", key);
    if (!item) return 0xFF000000u;
    auto channel = [item](const char* name) {
        return static_cast<uint32_t>(ParseDecimal(item->Attribute(name))) & 0xFF;
    };
    return channel("a") << 24 | channel("r") << 16 | channel("g") << 8 | channel("b");
}

std::wstring ReadStringItem(const TiXmlElement* root, const char* key,
                           const std::wstring& language) {
    const TiXmlElement* item = FindItem(root, "string", key);
    if (!item) return L"";
    const std::string code = WideToUtf8(language);
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
