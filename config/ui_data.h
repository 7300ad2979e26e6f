// The configuration: one process-wide value per uidata key, filled once at start-up from the
// embedded uidata document and read-only afterwards, from any thread.
#pragma once

#include <windows.h>

#include <string>

#include "config/ui_data_reader.h"
#include "config/ui_keys.h"

#define LW_DECLARE_COLOR(name, value) extern DWORD name;
#define LW_DECLARE_STRING(name, value) extern std::wstring name;
#define LW_DECLARE_INT(name, value) extern int name;
LW_COLOR_KEYS(LW_DECLARE_COLOR)
LW_STRING_KEYS(LW_DECLARE_STRING)
LW_INT_KEYS(LW_DECLARE_INT)
#undef LW_DECLARE_COLOR
#undef LW_DECLARE_STRING
#undef LW_DECLARE_INT

// 1 = install without showing the install page; set by a switch, else by the document.
extern int Silent_Install;

struct UiDataModel {
    std::wstring language;  // "zh", "en", ...; empty when the user's language is not known
};
extern UiDataModel UiData;

// Fills every value from the document embedded in `module` (null: the executable) in
// `language` (empty: the user's UI language). A missing or broken document leaves every
// value as it was.
void LoadUiData(HINSTANCE module, const std::wstring& language);
// The same for a document given as UTF-8 text.
void LoadUiDataFromDocument(const std::string& document, const std::wstring& language);

// The language code for the user's UI language, or empty when it is not one we know.
std::wstring PickUiLanguage();
std::wstring PickUiLanguageFor(LANGID userLanguage);

// ReadStringItem in the configured language (UiData.language).
std::wstring ReadStringItem(const TiXmlElement* root, const char* key);
