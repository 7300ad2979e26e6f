// The report server's answer (report/parse_response.cpp): any bytes from the network.
#include <cstddef>
#include <cstdint>
#include <string>

#include "native/fuzz_check.h"
#include "report/parse_response.h"

namespace {

bool HasUpperCase(const std::string& text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ResponseSections sections;
    const bool parsed = ParseResponse(text, &sections);
    const bool accepted = IsReportAccepted(text);
    FUZZ_CHECK(parsed || !accepted);
    if (!parsed) return 0;
    FUZZ_CHECK(text.find('[') != std::string::npos);
    for (const auto& section : sections) {
        FUZZ_CHECK(!HasUpperCase(section.first));
        for (const auto& entry : section.second) {
            FUZZ_CHECK(!entry.first.empty());
            FUZZ_CHECK(!HasUpperCase(entry.first));
            FUZZ_CHECK(entry.first.find('=') == std::string::npos);
            FUZZ_CHECK(entry.first.back() != ' ');
            FUZZ_CHECK(entry.second.empty() || entry.second.front() != ' ');
        }
    }
    if (accepted) FUZZ_CHECK(sections.count("common") && sections.at("common").count("result"));
    return 0;
}
