#include "report/post_packet.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>

#include "base/text_convert.h"
#include "report/parse_response.h"

namespace {

constexpr long kConnectTimeoutSeconds = 20;
constexpr long kTransferTimeoutSeconds = 20;
// The answer is a short text; a longer one is refused.
constexpr size_t kMaxAnswerBytes = 64 * 1024;

struct CurlEasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using UniqueCurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

size_t OnBody(char* bytes, size_t size, size_t count, void* sink) {
    return static_cast<ICurlWrite*>(sink)->Write(bytes, size * count);
}

// Lets the abort event stop a transfer that is still connecting or waiting for an answer.
int OnProgress(void* event, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const KEvent*>(event)->IsAborted() ? 1 : 0;
}

}  // namespace

bool PostPacket(const std::wstring& url, const std::vector<uint8_t>& packet, KEvent* event) {
    KMemWrite memory(kMaxAnswerBytes);
    KStopHttpWriteWrap sink(&memory, event);
    // Given up: not even the connection is made.
    if (event->IsAborted()) return false;
    UniqueCurlEasy curl(curl_easy_init());
    if (!curl) return false;
    CURL* handle = curl.get();
    const std::string ansiUrl = WideToAnsi(url);
    curl_easy_setopt(handle, CURLOPT_URL, ansiUrl.c_str());
    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, reinterpret_cast<const char*>(packet.data()));
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(packet.size()));
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, static_cast<ICurlWrite*>(&sink));
    // With a progress function of our own libcurl prints no meter; the function only
    // watches the abort event.
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, event);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, kTransferTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_NATIVE_CA));
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);

    const CURLcode result = curl_easy_perform(handle);
    char* peer = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_PRIMARY_IP, &peer) == CURLE_OK && peer) {
        event->peerAddress = peer;
    }
    if (result != CURLE_OK) return false;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &event->httpStatus);

    // The answer is text up to its first NUL.
    const char* body = reinterpret_cast<const char*>(sink.GetData());
    const size_t size = body ? strnlen(body, sink.GetSize()) : 0;
    return IsReportAccepted(std::string(body ? body : "", size));
}
