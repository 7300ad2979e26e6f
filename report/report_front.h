// The telemetry front: fire-and-forget install and uninstall reports, built and sent one at
// a time, in the order they were made, on a task thread of their own.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "base/handles.h"
#include "base/locker.h"
#include "report/reporter.h"

class CLwInfocWrapper : public IReporter {
public:
    class TaskBase {
    public:
        virtual void Run() = 0;
        virtual ~TaskBase() = default;
    };
    class ReportNewInstallTask;
    class ReportUninstallTask;

    static CLwInfocWrapper& GetInstance();

    ~CLwInfocWrapper() override;

    // Once per process (false afterwards; a second thread waits for the first to finish it):
    // creates the inner reporter and starts the task thread.
    bool Init(int type, const std::wstring& url) override;
    // Runs the queued tasks, ends the task thread, then stops the inner reporter. Bounded:
    // what is not sent kReportGraceMs after the last report was queued is given up
    // (AbandonReports), and a task thread that still has not ended is left to the end of
    // the process, never killed inside libcurl or the heap.
    void Uninit() override;
    bool Post(kReportObject* report) override;
    bool SendNow(kReportObject* report) override;
    bool CreateReportObject(kReportObject** report) override;
    bool DestroyReportObject(kReportObject* report) override;

    void Queue(std::unique_ptr<TaskBase> task);

private:
    CLwInfocWrapper() = default;
    static unsigned __stdcall TaskThread(void* param);
    void RunTasks();

    std::unique_ptr<IReporter> inner_;
    bool initialised_ = false;
    UniqueHandle taskThread_;
    UniqueHandle taskEvent_;
    UniqueHandle stopEvent_;
    kbase::Locker taskLock_;
    // GetTickCount when the last report was queued; under taskLock_.
    DWORD lastQueued_ = 0;
    kbase::Locker initLock_;
    std::deque<std::unique_ptr<TaskBase>> tasks_;
};

// How long reports may take once the last one was queued, and how long a transfer may take to
// notice that the rest were given up.
constexpr DWORD kReportGraceMs = 10000;
constexpr DWORD kAbandonWaitMs = 3000;

// Queue one report and return at once; the first one starts the front with Report_Url.
void ReportNewInstall(uint8_t step, uint8_t err_code, int sub_err_code, const std::wstring& err_msg);
void ReportUninstall(uint8_t reason, uint8_t result);
// ReportUninstall's results.
constexpr uint8_t kPageOpened = 1;
constexpr uint8_t kUninstallChosen = 2;
constexpr uint8_t kPageCancelled = 3;
// Returns once every report queued so far has been sent or has failed.
void StopReporter();
