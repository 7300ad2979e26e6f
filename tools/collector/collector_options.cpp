#include "tools/collector/collector_options.h"

#include <cwchar>

#include "base/text_convert.h"

const char kCollectorUsage[] =
    "usage: report_collector --out FILE [--port N] [--answer accept|result2|http500|malformed]\n"
    "                        [--delay-ms N]\n"
    "Listens on 127.0.0.1:N (N = 0 or missing: any free port) and appends one JSON line per\n"
    "report to FILE. Prints \"listening on 127.0.0.1:PORT\" once ready.\n";

namespace {

bool ParseNumber(const wchar_t* text, int low, int high, int* value) {
    wchar_t* end = nullptr;
    const long number = std::wcstol(text, &end, 10);
    if (end == text || *end != L'\0' || number < low || number > high) return false;
    *value = static_cast<int>(number);
    return true;
}

bool ParseAnswer(const std::wstring& text, Answer* answer) {
    const struct {
        const wchar_t* name;
        Answer answer;
    } kAnswers[] = {{L"accept", Answer::kAccept},
                    {L"result2", Answer::kResult2},
                    {L"http500", Answer::kHttp500},
                    {L"malformed", Answer::kMalformed}};
    for (const auto& known : kAnswers) {
        if (text == known.name) {
            *answer = known.answer;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseCollectorOptions(int argc, wchar_t** argv, CollectorOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (i + 1 >= argc) {
            *error = "missing value after " + WideToUtf8(name);
            return false;
        }
        const wchar_t* value = argv[++i];
        bool ok = true;
        if (name == L"--port") {
            ok = ParseNumber(value, 0, 65535, &options->port);
        } else if (name == L"--out") {
            options->outputFile = value;
            ok = !options->outputFile.empty();
        } else if (name == L"--answer") {
            ok = ParseAnswer(value, &options->answer);
        } else if (name == L"--delay-ms") {
            ok = ParseNumber(value, 0, 600000, &options->delayMilliseconds);
        } else {
            *error = "unknown option " + WideToUtf8(name);
            return false;
        }
        if (!ok) {
            *error = "bad value for " + WideToUtf8(name) + ": " + WideToUtf8(value);
            return false;
        }
    }
    if (options->outputFile.empty()) {
        *error = "--out is required";
        return false;
    }
    return true;
}
