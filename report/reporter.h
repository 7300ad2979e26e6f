// The reporter: makes report objects and sends them at once or from its queue thread.
#pragma once

#include <windows.h>

#include <string>

#include "base/locker.h"
#include "base/queue_thread.h"
#include "report/report_object.h"

class IReporter {
public:
    // Stores the report type and URL and starts the queue thread; false when done before.
    virtual bool Init(int type, const std::wstring& url) = 0;
    // Stops the queue thread (waiting at most 3 s); later Post and SendNow are refused.
    virtual void Uninit() = 0;
    // Queues a copy of `report` for the queue thread.
    virtual bool Post(kReportObject* report) = 0;
    // Sends `report` on the calling thread; true when the server accepted it.
    virtual bool SendNow(kReportObject* report) = 0;
    virtual bool CreateReportObject(kReportObject** report) = 0;
    virtual bool DestroyReportObject(kReportObject* report) = 0;
    virtual ~IReporter() = default;
};

// {9E75AA54-A60E-4CBA-80E8-C853292B20C4}
constexpr GUID IID_IReporter = {
    0x9E75AA54, 0xA60E, 0x4CBA, {0x80, 0xE8, 0xC8, 0x53, 0x29, 0x2B, 0x20, 0xC4}};

// S_OK with a new reporter for IID_IReporter; E_NOTIMPL for any other id.
HRESULT CreateReporter(REFGUID iid, IReporter** reporter);

class KReporter : public IReporter,
                  public kbase::kxQueueThreadRun<kReportObject, 4, kbase::Locker>,
                  public kbase::_CallBack<kReportObject> {
public:
    ~KReporter() override;

    bool Init(int type, const std::wstring& url) override;
    void Uninit() override;
    bool Post(kReportObject* report) override;
    bool SendNow(kReportObject* report) override;
    bool CreateReportObject(kReportObject** report) override;
    bool DestroyReportObject(kReportObject* report) override;

    void Process(int parameter, kReportObject& report) override;

private:
    bool IsInitialised();

    kbase::Locker initLock_;
    bool initialised_ = false;
    std::wstring url_;
    int type_ = 0;
};
