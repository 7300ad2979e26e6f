// Downloads one file with LHttp and prints the throughput, the number of progress
// notifications and the peak memory.
// bench_download <host> <port> <path> <file>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "peak_memory.h"
#include "transfer/lhttp.h"

namespace {

// Stores the pair the way the installing page does: one division per notification.
class CountingHttp : public LHttp {
public:
    void OnProgress(int received, int total) override {
        percent = static_cast<int>(received * 100.0f / (total + 1.0f));
        ++notifications;
        bytes = received;
    }
    int percent = 0;
    long notifications = 0;
    int bytes = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: bench_download <host> <port> <path> <file>\n");
        return 2;
    }
    CountingHttp http;
    http.port = atoi(argv[2]);
    const std::string url = std::string("http://") + argv[1] + argv[3];
    std::wstring error;
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    const bool ok = http.Download(url, argv[4], &error);
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    const double megabytes = http.bytes / 1048576.0;
    printf("result: %s\nerror: %ls\nMB: %.1f\nnotifications: %ld\nseconds: %.2f\nMB/s: %.1f\n",
           ok ? "true" : "false", error.c_str(), megabytes, http.notifications, seconds,
           megabytes / seconds);
    PrintPeakMemory();
    return ok ? 0 : 1;
}
