#include "report/reporter.h"

#include <new>

namespace {

constexpr int kQueueRunParameter = 916;
constexpr int kUninitStopMilliseconds = 3000;
constexpr int kDestroyStopMilliseconds = 1500;

}  // namespace

HRESULT CreateReporter(REFGUID iid, IReporter** reporter) {
    if (!reporter) return E_POINTER;
    *reporter = nullptr;
    if (!IsEqualGUID(iid, IID_IReporter)) return E_NOTIMPL;
    *reporter = new (std::nothrow) KReporter;
    return *reporter ? S_OK : E_FAIL;
}

KReporter::~KReporter() {
    // The queue thread calls back into this object: it ends before our members go.
    Stop(kDestroyStopMilliseconds);
}

bool KReporter::IsInitialised() {
    kbase::ScopedLock<kbase::Locker> lock(initLock_);
    return initialised_;
}

bool KReporter::Init(int type, const std::wstring& url) {
    {
        kbase::ScopedLock<kbase::Locker> lock(initLock_);
        if (initialised_) return false;
        initialised_ = true;
        url_ = url;
        type_ = type;
    }
    kxQueueThreadRun::Init(this);
    set_run_parameter(kQueueRunParameter);
    Start(0);
    return true;
}

void KReporter::Uninit() {
    Stop(kUninitStopMilliseconds);
    kbase::ScopedLock<kbase::Locker> lock(initLock_);
    initialised_ = false;
}

bool KReporter::Post(kReportObject* report) {
    if (!report || !IsInitialised()) return false;
    Push(*report);
    return true;
}

bool KReporter::SendNow(kReportObject* report) {
    if (!report || !IsInitialised()) return false;
    return report->Send(url_);
}

bool KReporter::CreateReportObject(kReportObject** report) {
    if (!report) return false;
    *report = new (std::nothrow) kReportObject(type_);
    return true;
}

bool KReporter::DestroyReportObject(kReportObject* report) {
    if (!report) return false;
    delete report;
    return true;
}

void KReporter::Process(int, kReportObject& report) { report.Send(url_); }
