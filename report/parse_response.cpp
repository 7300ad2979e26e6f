#include "report/parse_response.h"

#include <cctype>
#include <cstdlib>

namespace {

const char kWhiteSpace[] = " \t\r\n\v\f";

std::string Trim(const std::string& text, const char* characters) {
    const size_t first = text.find_first_not_of(characters);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

std::string TrimLeft(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

std::string TrimRight(const std::string& text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? "" : text.substr(0, last + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

bool ParseResponse(const std::string& text, ResponseSections* sections) {
    sections->clear();
    size_t pos = text.find('[');
    if (pos == std::string::npos) return false;
    std::string section;
    while (pos < text.size()) {
        const size_t newline = text.find('\n', pos);
        const size_t end = newline == std::string::npos ? text.size() : newline + 1;
        const std::string line = Trim(text.substr(pos, end - pos), kWhiteSpace);
        pos = end;
        if (line.empty()) continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = Lower(Trim(line.substr(1, line.size() - 2), " "));
            if (section.empty()) return false;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) return false;
        const std::string key = Lower(TrimRight(line.substr(0, equals)));
        if (key.empty()) return false;
        (*sections)[section][key] = TrimLeft(line.substr(equals + 1));
    }
    return true;
}

bool IsReportAccepted(const std::string& text) {
    ResponseSections sections;
    if (!ParseResponse(text, &sections)) return false;
    const auto common = sections.find("common");
    if (common == sections.end()) return false;
    const auto result = common->second.find("result");
    if (result == common->second.end()) return false;
    return std::strtol(result->second.c_str(), nullptr, 10) == 1;
}
