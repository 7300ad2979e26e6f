// The report server's answer: ini-like text with "[section]" lines and "key = value" lines.
#pragma once

#include <map>
#include <string>

// Section name -> key -> value; names lower-cased, keys before any section under "".
using ResponseSections = std::map<std::string, std::map<std::string, std::string>>;

// Reads from the first "[" on; false without one, for an empty section name, an empty key
// or a line without "=".
bool ParseResponse(const std::string& text, ResponseSections* sections);

// True when the answer parses and its "common" section says result=1.
bool IsReportAccepted(const std::string& text);
