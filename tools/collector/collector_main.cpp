// report_collector: plays the report server on 127.0.0.1. Every POST body is checked and
// decoded as a report packet and appended to the output file as one JSON line; the answer
// is chosen on the command line so a sender's judgement can be tried against each kind.
#include <httplib.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <mutex>

#include "report/packet_decoder.h"
#include "tools/collector/collector_options.h"
#include "tools/collector/report_json.h"

namespace {

const char kAcceptBody[] = "[common]\r\nresult=1\r\n";
const char kResult2Body[] = "[common]\r\nresult=2\r\n";
const char kMalformedBody[] = "result=1\r\n";

void SetAnswer(const CollectorOptions& options, httplib::Response& response) {
    switch (options.answer) {
        case Answer::kAccept:
            response.set_content(kAcceptBody, "text/plain");
            break;
        case Answer::kResult2:
            response.set_content(kResult2Body, "text/plain");
            break;
        case Answer::kHttp500:
            response.status = 500;
            response.set_content(kAcceptBody, "text/plain");
            break;
        case Answer::kMalformed:
            response.set_content(kMalformedBody, "text/plain");
            break;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    CollectorOptions options;
    std::string error;
    if (!ParseCollectorOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), kCollectorUsage);
        return 2;
    }
    std::ofstream output(options.outputFile.c_str(), std::ios::app | std::ios::binary);
    if (!output) {
        std::fprintf(stderr, "cannot open the output file\n");
        return 1;
    }
    std::mutex outputLock;

    httplib::Server server;
    server.Post(".*", [&](const httplib::Request& request, httplib::Response& response) {
        const uint8_t* raw = reinterpret_cast<const uint8_t*>(request.body.data());
        const DecodedPacket packet = DecodePacket(raw, request.body.size());
        {
            std::lock_guard<std::mutex> lock(outputLock);
            output << ReportJsonLine(packet, raw, request.body.size()) << '\n';
            output.flush();
        }
        if (options.delayMilliseconds > 0) Sleep(static_cast<DWORD>(options.delayMilliseconds));
        SetAnswer(options, response);
    });

    const char kHost[] = "127.0.0.1";
    int port = options.port;
    if (port == 0) {
        port = server.bind_to_any_port(kHost);
    } else if (!server.bind_to_port(kHost, port)) {
        port = -1;
    }
    if (port <= 0) {
        std::fprintf(stderr, "cannot listen on %s:%d\n", kHost, options.port);
        return 1;
    }
    std::printf("listening on %s:%d\n", kHost, port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
