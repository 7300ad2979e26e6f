#include "report/report_front.h"

#include <process.h>

#include <utility>

#include "config/ui_data.h"
#include "report/abandon.h"
#include "report/record_schemas.h"
#include "report/report_tasks.h"

CLwInfocWrapper& CLwInfocWrapper::GetInstance() {
    // Never destroyed: paths that end the process without StopReporter leave the task
    // thread running while static objects are destroyed, and it must not find its lock,
    // list, events or reporter gone. The end of the process takes them all.
    static auto* instance = new CLwInfocWrapper;
    return *instance;
}

CLwInfocWrapper::~CLwInfocWrapper() = default;

bool CLwInfocWrapper::Init(int type, const std::wstring& url) {
    kbase::ScopedLock<kbase::Locker> lock(initLock_);
    if (initialised_) return false;
    initialised_ = true;
    IReporter* reporter = nullptr;
    if (FAILED(CreateReporter(IID_IReporter, &reporter)) || !reporter) return false;
    inner_.reset(reporter);
    inner_->Init(type, url);
    taskEvent_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    stopEvent_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!taskEvent_ || !stopEvent_) return false;
    taskThread_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, TaskThread, this, 0, nullptr)));
    return true;
}

unsigned __stdcall CLwInfocWrapper::TaskThread(void* param) {
    static_cast<CLwInfocWrapper*>(param)->RunTasks();
    return 0;
}

void CLwInfocWrapper::RunTasks() {
    const HANDLE events[] = {taskEvent_.get(), stopEvent_.get()};
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        std::deque<std::unique_ptr<TaskBase>> taken;
        {
            kbase::ScopedLock<kbase::Locker> lock(taskLock_);
            taken.swap(tasks_);
        }
        for (std::unique_ptr<TaskBase>& task : taken) {
            // Given up by Uninit: the rest are not even built.
            if (ReportsAbandoned()) return;
            task->Run();
        }
        // Tasks queued before the stop request have all run by now.
        if (woken != WAIT_OBJECT_0) return;
    }
}

void CLwInfocWrapper::Queue(std::unique_ptr<TaskBase> task) {
    kbase::ScopedLock<kbase::Locker> lock(taskLock_);
    // Without a task thread (it could not start, or the reporter was stopped) nothing would
    // ever run the task; keeping it would only let the list grow.
    if (!taskThread_) return;
    tasks_.push_back(std::move(task));
    lastQueued_ = GetTickCount();
    SetEvent(taskEvent_.get());
}

void CLwInfocWrapper::Uninit() {
    if (taskThread_) {
        SetEvent(stopEvent_.get());
        DWORD sinceLast = 0;
        {
            kbase::ScopedLock<kbase::Locker> lock(taskLock_);
            sinceLast = GetTickCount() - lastQueued_;
        }
        const DWORD grace = sinceLast < kReportGraceMs ? kReportGraceMs - sinceLast : 0;
        bool ended = WaitForSingleObject(taskThread_.get(), grace) == WAIT_OBJECT_0;
        if (!ended) {
            AbandonReports();
            ended = WaitForSingleObject(taskThread_.get(), kAbandonWaitMs) == WAIT_OBJECT_0;
        }
        kbase::ScopedLock<kbase::Locker> lock(taskLock_);
        // No more tasks either way; a thread that has not ended keeps its events.
        taskThread_.reset();
        if (ended) {
            taskEvent_.reset();
            stopEvent_.reset();
        }
    }
    // Without a first report there is no reporter to stop.
    if (inner_) inner_->Uninit();
}

bool CLwInfocWrapper::Post(kReportObject* report) { return inner_ && inner_->Post(report); }

bool CLwInfocWrapper::SendNow(kReportObject* report) { return inner_ && inner_->SendNow(report); }

bool CLwInfocWrapper::CreateReportObject(kReportObject** report) {
    return inner_ && inner_->CreateReportObject(report);
}

bool CLwInfocWrapper::DestroyReportObject(kReportObject* report) {
    return inner_ && inner_->DestroyReportObject(report);
}

void ReportNewInstall(uint8_t step, uint8_t err_code, int sub_err_code, const std::wstring& err_msg) {
    CLwInfocWrapper& front = CLwInfocWrapper::GetInstance();
    front.Init(kInstallerReportType, Report_Url);
    front.Queue(std::make_unique<CLwInfocWrapper::ReportNewInstallTask>(step, err_code, sub_err_code, err_msg));
}

void ReportUninstall(uint8_t reason, uint8_t result) {
    CLwInfocWrapper& front = CLwInfocWrapper::GetInstance();
    front.Init(kInstallerReportType, Report_Url);
    front.Queue(std::make_unique<CLwInfocWrapper::ReportUninstallTask>(reason, result));
}

void StopReporter() { CLwInfocWrapper::GetInstance().Uninit(); }
