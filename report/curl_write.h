// Where libcurl delivers a response body, and the per-request state of the sender.
#pragma once

// libcurl includes winsock2.h, which must come before any windows.h.
#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/handles.h"
#include "report/abandon.h"

class ICurlWrite {
public:
    // Takes `length` bytes; returns how many were taken (anything else aborts the transfer).
    virtual size_t Write(const void* bytes, size_t length) = 0;
    virtual const uint8_t* GetData() const = 0;
    virtual size_t GetSize() const = 0;
    virtual ~ICurlWrite() = default;
};

// Keeps the bytes in memory, up to a limit: a body that would pass it is refused whole (the
// transfer stops), so a server cannot make the installer buffer without end.
class KMemWrite : public ICurlWrite {
public:
    explicit KMemWrite(size_t limit) : limit_(limit) {}
    size_t Write(const void* bytes, size_t length) override;
    const uint8_t* GetData() const override { return data_.data(); }
    size_t GetSize() const override { return data_.size(); }

private:
    size_t limit_;
    std::vector<uint8_t> data_;
};

// Request state shared by the attempts of one send: an abort switch (manual-reset event) and
// what the last request saw; AbandonReports aborts every send. Holds libcurl's
// global initialisation for as long as it lives.
class KEvent {
public:
    KEvent();
    virtual ~KEvent();
    KEvent(const KEvent&) = delete;
    KEvent& operator=(const KEvent&) = delete;

    bool IsAborted() const;
    HANDLE abort_event() const { return abortEvent_.get(); }

    long httpStatus = 0;
    std::string peerAddress;

private:
    UniqueHandle abortEvent_;
};

// Forwards to another sink until the abort event is signalled; then refuses every block,
// which makes libcurl stop the transfer.
class KStopHttpWriteWrap : public ICurlWrite {
public:
    KStopHttpWriteWrap(ICurlWrite* inner, const KEvent* event) : inner_(inner), event_(event) {}
    size_t Write(const void* bytes, size_t length) override;
    const uint8_t* GetData() const override { return inner_->GetData(); }
    size_t GetSize() const override { return inner_->GetSize(); }

private:
    ICurlWrite* inner_;
    const KEvent* event_;
};
