// The report collector's command line.
#pragma once

#include <string>

// What the collector answers to every report.
enum class Answer {
    kAccept,     // 200, "[common]" / "result=1"
    kResult2,    // 200, "[common]" / "result=2"
    kHttp500,    // 500 with the accepting body
    kMalformed,  // 200, a body without any section
};

struct CollectorOptions {
    int port = 0;  // 0: any free port (printed on start)
    std::wstring outputFile;
    Answer answer = Answer::kAccept;
    int delayMilliseconds = 0;
};

// False with `error` set for an unknown option or a bad value.
bool ParseCollectorOptions(int argc, wchar_t** argv, CollectorOptions* options, std::string* error);

extern const char kCollectorUsage[];
