#include "report/curl_write.h"

#include <curl/curl.h>

size_t KMemWrite::Write(const void* bytes, size_t length) {
    const uint8_t* begin = static_cast<const uint8_t*>(bytes);
    data_.insert(data_.end(), begin, begin + length);
    return length;
}

KEvent::KEvent() : abortEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    curl_global_init(CURL_GLOBAL_ALL);
}

KEvent::~KEvent() { curl_global_cleanup(); }

bool KEvent::IsAborted() const {
    return abortEvent_ && WaitForSingleObject(abortEvent_.get(), 0) == WAIT_OBJECT_0;
}

size_t KStopHttpWriteWrap::Write(const void* bytes, size_t length) {
    // Any count other than `length` is an error for libcurl.
    if (event_->IsAborted()) return static_cast<size_t>(-1);
    return inner_->Write(bytes, length);
}
