#include "report/curl_write.h"

#include <curl/curl.h>

namespace {

// Manual-reset, never reset: once reports are given up they stay given up.
HANDLE AbandonEvent() {
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

}  // namespace

void AbandonReports() {
    if (AbandonEvent()) SetEvent(AbandonEvent());
}

bool ReportsAbandoned() {
    return AbandonEvent() && WaitForSingleObject(AbandonEvent(), 0) == WAIT_OBJECT_0;
}

size_t KMemWrite::Write(const void* bytes, size_t length) {
    // Any count other than `length` is an error for libcurl.
    if (length > limit_ - data_.size()) return 0;
    const uint8_t* begin = static_cast<const uint8_t*>(bytes);
    data_.insert(data_.end(), begin, begin + length);
    return length;
}

KEvent::KEvent() : abortEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    curl_global_init(CURL_GLOBAL_ALL);
}

KEvent::~KEvent() { curl_global_cleanup(); }

bool KEvent::IsAborted() const {
    return (abortEvent_ && WaitForSingleObject(abortEvent_.get(), 0) == WAIT_OBJECT_0) ||
           ReportsAbandoned();
}

size_t KStopHttpWriteWrap::Write(const void* bytes, size_t length) {
    // Any count other than `length` is an error for libcurl.
    if (event_->IsAborted()) return static_cast<size_t>(-1);
    return inner_->Write(bytes, length);
}
