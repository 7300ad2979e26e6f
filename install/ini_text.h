// Reading ini text: the sections, keys and values of a data ini file's bytes.
#pragma once

#include <map>
#include <string>
#include <utility>

// Section and key, ordered by ordinal comparison.
using IniEntries = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;

// The section/key/value triples of single-byte ini text (each byte one character): lines
// trimmed, empty lines and comments (";", "#") skipped, "[name]" opens a section, a line is
// split at its first "=" with both sides trimmed; pairs before the first section or with an
// empty key are dropped, and a later pair replaces an earlier one of the same section and key.
IniEntries ParseIniText(const std::string& text);
