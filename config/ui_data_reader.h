// Reading the uidata document: its root and the values of its color, string and int items.
#pragma once

#include <cstdint>
#include <string>

class TiXmlDocument;
class TiXmlElement;

// Parses UTF-8 text (any line ends) into `xml` and returns its root element, or null when the
// text is not well-formed XML or the root is not <uidata> (in any letter case).
const TiXmlElement* ParseUiDataDocument(const std::string& document, TiXmlDocument* xml);

// Item readers; a key that is not found gives 0xFF000000, the empty string and 0. A string
// item gives its text in `language` ("zh", "en", ...).
uint32_t ReadColorItem(const TiXmlElement* root, const char* key);
std::wstring ReadStringItem(const TiXmlElement* root, const char* key,
                           const std::wstring& language);
int ReadIntItem(const TiXmlElement* root, const char* key);
