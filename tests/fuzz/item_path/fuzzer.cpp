// Archive item names against the check that keeps extracted files inside the output
// directory (transfer/item_path.cpp). Whenever a name is accepted, the path it is written to,
// read the way Windows reads path components, must stay below the output directory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "native/fuzz_check.h"
#include "native/fuzz_text.h"
#include "transfer/item_path.h"

namespace {

const std::wstring kOutput = L"C:\\out";

// How deep below kOutput the joined path ends; negative once a component steps above it.
// Windows drops trailing dots and spaces from a component, so any component of dots and
// spaces alone with two dots or more is counted as a step up and one with fewer as "here".
int DepthBelowOutput(const std::wstring& path) {
    int depth = 0;
    size_t start = kOutput.size() + 1;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring part = path.substr(start, end - start);
        start = end + 1;
        if (!part.empty() && part.find_first_not_of(L". ") == std::wstring::npos) {
            size_t dots = 0;
            for (wchar_t c : part) dots += c == L'.';
            if (dots >= 2) {
                if (--depth < 0) return depth;
            }
            continue;
        }
        ++depth;
    }
    return depth;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring name = WideFromBytes(data, size);
    // Archive names are null-terminated on disk: a name never holds a null character.
    if (name.find(L'\0') != std::wstring::npos) return 0;
    const bool safe = IsSafeItemPath(name);
    const std::wstring path = MakeItemPath(kOutput, name);
    if (!safe || name.empty()) return 0;
    FUZZ_CHECK(path.compare(0, kOutput.size() + 1, kOutput + L"\\") == 0);
    FUZZ_CHECK(path.find(L'/') == std::wstring::npos);
    FUZZ_CHECK(path.find(L':', kOutput.size()) == std::wstring::npos);
    FUZZ_CHECK(path.find(L"\\\\") == std::wstring::npos);
    FUZZ_CHECK(DepthBelowOutput(path) >= 0);
    return 0;
}
