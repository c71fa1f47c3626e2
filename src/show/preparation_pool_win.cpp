#include "show/preparation_pool_win.h"

#include <condition_variable>
#include <deque>
#include <mutex>

#include "runtime/base/handles_win.h"
#include "runtime/base/system_error_win.h"
#include "runtime/base/thread_win.h"
#include "show/run_state_win.h"

namespace kpv {

namespace {

using Clock = std::chrono::steady_clock;

// How often the watchdog looks at a preparation in progress.
constexpr std::chrono::milliseconds kWatchPeriod{250};

struct Job {
    PreparationRequest request;
    PreparationPool::Deliver deliver;
    bool givenUp = false;  // under the pool's lock
};

struct Worker {
    rt::Thread thread;
    // Under the pool's lock:
    std::shared_ptr<Job> job;  // the one in hand
    Clock::time_point lastProgress;
    std::wstring reading;
    bool leftBehind = false;
};

}  // namespace

struct PreparationPool::State : std::enable_shared_from_this<State> {
    explicit State(PoolLimits l) : limits(l) {}

    const PoolLimits limits;
    mutable std::mutex mutex;
    std::condition_variable work;   // a job, or the stop, for the worker
    std::condition_variable watch;  // a job begun, or the stop, for the watchdog
    std::deque<std::shared_ptr<Job>> queue;
    std::shared_ptr<Worker> worker;  // the one that works now; one left behind holds itself
    rt::Thread watchdog;
    int leftBehind = 0;
    bool stopped = false;

    void StartWorkerLocked();
    void GiveUpLocked();
};

namespace {

// What the worker's preparation is told, and how it tells its progress.
class WorkerControl final : public PreparationControl {
public:
    WorkerControl(PreparationPool::State& state, Worker& worker) : state_(state), worker_(worker) {}
    bool Continue() override {
        const std::lock_guard lock(state_.mutex);
        worker_.lastProgress = Clock::now();
        return !state_.stopped && !worker_.leftBehind;
    }
    void Attempting(const std::wstring& path) override {
        const std::lock_guard lock(state_.mutex);
        worker_.lastProgress = Clock::now();
        worker_.reading = path;
    }

private:
    PreparationPool::State& state_;
    Worker& worker_;
};

void RunWorker(const std::shared_ptr<PreparationPool::State>& state, const std::shared_ptr<Worker>& worker) {
    // A worker has no message loop, so it lives in the multithreaded apartment with its own decoder objects.
    const rt::ComApartment com(COINIT_MULTITHREADED);
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(state->mutex);
            state->work.wait(lock, [&] { return state->stopped || worker->leftBehind || !state->queue.empty(); });
            if (state->stopped || worker->leftBehind) return;
            job = std::move(state->queue.front());
            state->queue.pop_front();
            worker->job = job;
            worker->lastProgress = Clock::now();
            worker->reading.clear();
        }
        state->watch.notify_all();
        WorkerControl control(*state, *worker);
        PreparedPicture result;
        try {
            result = PreparePicture(job->request, control);
        } catch (...) {
            result = PreparedPicture{};
            result.outcome = PreparedPicture::Outcome::Failed;
            result.path = rt::CurrentExceptionReportText();
        }
        bool deliver = false;
        {
            const std::lock_guard lock(state->mutex);
            worker->job.reset();
            deliver = !job->givenUp && !state->stopped;
        }
        // A result that comes after its preparation was given up is dropped: the show asked again.
        if (deliver) job->deliver(std::move(result));
    }
}

void RunWatchdog(const std::shared_ptr<PreparationPool::State>& state) {
    std::unique_lock lock(state->mutex);
    while (!state->stopped) {
        if (!state->worker || !state->worker->job) {
            state->watch.wait(lock);  // idle until a preparation begins or the pool stops
            continue;
        }
        state->watch.wait_for(lock, kWatchPeriod);
        const Worker* worker = state->worker.get();
        if (state->stopped || !worker || !worker->job) continue;
        if (Clock::now() - worker->lastProgress >= state->limits.giveUpAfter &&
            state->leftBehind < state->limits.maxLeftBehind)
            state->GiveUpLocked();
    }
}

}  // namespace

// The new worker holds the pool's state; it is started under the lock, so nobody sees it half made.
void PreparationPool::State::StartWorkerLocked() {
    auto fresh = std::make_shared<Worker>();
    fresh->thread = rt::Thread([state = shared_from_this(), fresh] { RunWorker(state, fresh); });
    worker = std::move(fresh);
    if (!watchdog.Started()) watchdog = rt::Thread([state = shared_from_this()] { RunWatchdog(state); });
}

// The file in hand counts as failed for the rest of the run; the show's request goes first to a new worker.
void PreparationPool::State::GiveUpLocked() {
    const std::shared_ptr<Worker> stuck = std::move(worker);
    const std::shared_ptr<Job> job = stuck->job;
    job->givenUp = true;
    if (!stuck->reading.empty() && job->request.run) job->request.run->failed.Add(stuck->reading);
    queue.push_front(std::make_shared<Job>(Job{job->request, job->deliver}));
    stuck->leftBehind = true;
    stuck->thread.CancelIo();
    ++leftBehind;
    try {
        StartWorkerLocked();
    } catch (const std::exception&) {
        // No thread to be had: the shows keep the pictures they have.
    }
    work.notify_all();
}

PreparationPool::PreparationPool(PoolLimits limits) : state_(std::make_shared<State>(limits)) {}

PreparationPool::~PreparationPool() { Stop(); }

void PreparationPool::Request(PreparationRequest request, Deliver deliver) {
    auto job = std::make_shared<Job>(Job{std::move(request), std::move(deliver)});
    std::wstring failure;
    {
        const std::lock_guard lock(state_->mutex);
        if (state_->stopped) return;
        state_->queue.push_back(job);
        if (!state_->worker && state_->leftBehind == 0) {
            try {
                state_->StartWorkerLocked();
            } catch (...) {
                state_->queue.pop_back();
                failure = rt::CurrentExceptionReportText();
            }
        }
    }
    if (!failure.empty()) {
        // Not even one worker: the show tells the user, and the run ends.
        PreparedPicture failed;
        failed.outcome = PreparedPicture::Outcome::Failed;
        failed.path = std::move(failure);
        job->deliver(std::move(failed));
        return;
    }
    state_->work.notify_one();
}

void PreparationPool::Stop() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->stopped = true;
        state_->queue.clear();
        if (state_->worker) state_->worker->thread.CancelIo();
    }
    state_->work.notify_all();
    state_->watch.notify_all();
}

bool PreparationPool::WaitUntil(ULONGLONG deadline) const {
    std::shared_ptr<Worker> worker;
    bool watched = false;
    {
        const std::lock_guard lock(state_->mutex);
        worker = state_->worker;
        watched = state_->watchdog.Started();  // once started it is never replaced
    }
    const bool watchdogEnded = !watched || state_->watchdog.WaitFor(rt::MillisecondsUntil(deadline));
    return (!worker || worker->thread.WaitFor(rt::MillisecondsUntil(deadline))) && watchdogEnded;
}

}  // namespace kpv
