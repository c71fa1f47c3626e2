#include "show/preparation_worker_win.h"

#include "runtime/base/handles_win.h"

namespace kpv {

namespace {
constexpr DWORD kStopOnDestructionMs = 250;
}  // namespace

PreparationWorker::PreparationWorker() : thread_([this] { Run(); }) {}

PreparationWorker::~PreparationWorker() { StopBy(GetTickCount64() + kStopOnDestructionMs); }

void PreparationWorker::Request(PreparationRequest request, Deliver deliver) {
    {
        const std::lock_guard lock(mutex_);
        if (stop_.load()) return;
        jobs_.push_back({std::move(request), std::move(deliver)});
    }
    wake_.notify_one();
}

bool PreparationWorker::StopBy(ULONGLONG deadline) {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        jobs_.clear();
    }
    wake_.notify_one();
    return thread_.CancelIoAndWaitUntil(deadline);
}

void PreparationWorker::Run() {
    const rt::ComApartment com;  // this thread's own decoder objects
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stop_.load() || !jobs_.empty(); });
            if (stop_.load()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        PreparedPicture result = PreparePicture(job.request, stop_);
        if (stop_.load()) return;
        job.deliver(std::move(result));
    }
}

}  // namespace kpv
