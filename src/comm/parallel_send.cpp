#include "comm/parallel_send.h"

#include "base/last_error.h"
#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/controller_link.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/compile_screen.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <csignal>
#include <pthread.h>

namespace {

constexpr int kTextNoScreen = 41091;
constexpr int kTextFailureList = 43039;
// How long the coordinating thread sleeps when nothing asks for it.
constexpr int kIdleWaitMs = 5;

// Work the screens' threads hand to the coordinating thread.
class CCoordinatorQueue
{
public:
    // Runs later, without waiting.
    void Post(std::function<void()> task)
    {
        {
            std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_wake.notify_one();
    }
    // Runs and returns once done.
    void Call(const std::function<void()>& task)
    {
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> finished = done->get_future();
        Post([&task, done] {
            task();
            done->set_value();
        });
        finished.wait();
    }
    void Wake() { m_wake.notify_one(); }
    // On the coordinating thread: waits a little for work, then runs what is there.
    void RunPending(int waitMs)
    {
        std::deque<std::function<void()>> tasks;
        {
            std::unique_lock lock(m_mutex);
            if (m_tasks.empty())
                m_wake.wait_for(lock, std::chrono::milliseconds(waitMs));
            tasks.swap(m_tasks);
        }
        for (auto& task : tasks)
            task();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
};

struct ScreenJob
{
    int index = 0;
    CScreen* screen = nullptr;
    QString linkKey;
    // The thread's own flag for the link's waits, and the cancel its progress reports.
    std::atomic<bool> commCancel{false};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> finished{false};
    bool started = false;
    bool succeeded = false;
    std::thread thread;
};

// Rendering and compiling of a screen's send, done on the coordinating thread, or by the
// rendering the whole run was given (a program whose renderer lives on another thread).
class CHandedOverRendering final : public ISendRendering
{
public:
    CHandedOverRendering(CCoordinatorQueue& queue, ISendRendering* outer)
        : m_queue(queue), m_outer(outer)
    {}
    void Prepare(CScreen& screen, RenderForm form) override
    {
        m_queue.Call([&] {
            if (m_outer)
                m_outer->Prepare(screen, form);
            else
                screen.Prepare(form);
        });
    }
    bool Compile(CScreen& screen, CByteBuffer& buffer, QString& reason) override
    {
        bool compiled = false;
        m_queue.Call([&] {
            if (m_outer) {
                compiled = m_outer->Compile(screen, buffer, reason);
                return;
            }
            ClearLastError();
            compiled = WriteData(screen, buffer);
            reason = LastError();
        });
        return compiled;
    }

private:
    CCoordinatorQueue& m_queue;
    ISendRendering* m_outer;
};

// The operation face a screen's thread sees: everything goes to the person through the
// coordinating thread; a cancel comes back from the job's flag.
class CJobUi final : public IOperationUi
{
public:
    CJobUi(ScreenJob& job, CCoordinatorQueue& queue, IParallelSendUi& ui)
        : m_job(job), m_queue(queue), m_ui(ui)
    {}
    void SetRange(int) override {}
    bool Update(int position, const QString& text) override
    {
        if (position != m_position || text != m_text) {
            m_position = position;
            m_text = text;
            // The job's face may be gone by the time the task runs: nothing of it is taken.
            m_queue.Post([&ui = m_ui, index = m_job.index, position, text] {
                ui.Update(index, position, text);
            });
        }
        return m_job.cancelled;
    }
    Answer Ask(const QString& text) override
    {
        if (m_job.cancelled)
            return Answer::No;
        Answer answer = Answer::No;
        m_queue.Call([&] { answer = m_ui.Ask(m_job.index, text); });
        return answer;
    }
    void Inform(const QString& text) override
    {
        m_queue.Post([&ui = m_ui, index = m_job.index, text] { ui.Inform(index, text); });
    }
    void Warn(const QString& text) override
    {
        m_queue.Post([&ui = m_ui, index = m_job.index, text] { ui.Warn(index, text); });
    }

private:
    ScreenJob& m_job;
    CCoordinatorQueue& m_queue;
    IParallelSendUi& m_ui;
    int m_position = -1;
    QString m_text;
};

void Cancel(ScreenJob& job)
{
    if (job.cancelled.exchange(true))
        return;
    // Once: the end data after the cancel must still get through.
    job.commCancel = true;
}

// Starts the job's thread with the interrupt signals blocked in it, so that Ctrl+C always
// reaches the coordinating thread.
void StartJob(ScreenJob& job, const SendOptions& options, CCoordinatorQueue& queue,
              IParallelSendUi& ui)
{
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    job.started = true;
    job.thread = std::thread([&job, options, &queue, &ui] {
        CThreadCommCancel ownCancel(job.commCancel);
        CHandedOverRendering rendering(queue, options.rendering);
        SendOptions jobOptions = options;
        jobOptions.rendering = &rendering;
        CSendPipeline pipeline(jobOptions);
        CJobUi jobUi(job, queue, ui);
        job.succeeded = pipeline.SendScreen(*job.screen, jobUi);
        job.finished = true;
        queue.Wake();
    });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

// Starts up to `free` screens, in order, that share no link with a screen being sent;
// returns how many were started.
int StartWaitingJobs(std::vector<std::unique_ptr<ScreenJob>>& jobs, int free,
                     const SendOptions& options, CCoordinatorQueue& queue, IParallelSendUi& ui)
{
    int started = 0;
    for (auto& job : jobs) {
        if (started >= free)
            break;
        if (job->started)
            continue;
        const bool linkBusy = std::any_of(jobs.begin(), jobs.end(), [&](const auto& other) {
            return other->started && !other->finished && other->linkKey == job->linkKey;
        });
        if (linkBusy)
            continue;
        StartJob(*job, options, queue, ui);
        ++started;
    }
    return started;
}

} // namespace

QString SendLinkKey(const CScreen& screen)
{
    const LinkSettings& link = screen.Link();
    if (link.Kind() == LinkKind::Network)
        return QStringLiteral("udp %1:%2")
            .arg(link.remoteIp.trimmed().toLower())
            .arg(link.remotePort);
    return QStringLiteral("serial %1").arg(link.comPort);
}

CParallelSend::CParallelSend(SendOptions options, int parallel)
    : m_options(options), m_parallel(std::clamp(parallel, 1, kMaxParallel))
{}

SendAllResult CParallelSend::SendAll(CProjectRoot& root, IParallelSendUi& ui)
{
    SendAllResult outcome;
    std::vector<std::unique_ptr<ScreenJob>> jobs;
    QStringList names;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        CProjectObject* child = root.GetChild(i);
        if (!child || child->GetKind() != KindScreen)
            continue;
        auto& screen = static_cast<CScreen&>(*child);
        if (!screen.GetSelected())
            continue;
        auto job = std::make_unique<ScreenJob>();
        job->index = static_cast<int>(jobs.size());
        job->screen = &screen;
        names << screen.GetName();
        jobs.push_back(std::move(job));
    }
    outcome.marked = static_cast<int>(jobs.size());
    if (jobs.empty()) {
        ui.Warn(-1, LoadString(kTextNoScreen));
        return outcome;
    }
    ui.Begin(names);

    // Every link of a screen is created here, before the threads share the tree.
    for (const auto& job : jobs) {
        LinkOf(*job->screen);
        job->linkKey = SendLinkKey(*job->screen);
    }
    SetCommCancel(false);
    CCoordinatorQueue queue;
    int running = 0;
    for (;;) {
        if (!outcome.aborted)
            running += StartWaitingJobs(jobs, m_parallel - running, m_options, queue, ui);
        queue.RunPending(kIdleWaitMs);
        PumpEvents();
        if (!outcome.aborted && (ui.CancelAll() || CommCancelled())) {
            outcome.aborted = true;
            for (const auto& job : jobs) {
                if (!job->finished)
                    Cancel(*job);
            }
        }
        for (const auto& job : jobs) {
            if (job->started && !job->finished && ui.CancelScreen(job->index))
                Cancel(*job);
            if (job->started && job->finished && job->thread.joinable()) {
                job->thread.join();
                --running;
            }
        }
        const bool allStarted =
            std::all_of(jobs.begin(), jobs.end(), [](const auto& job) { return job->started; });
        if (running == 0 && (outcome.aborted || allStarted))
            break;
    }
    // What the threads posted last.
    queue.RunPending(0);

    for (const auto& job : jobs) {
        if (job->succeeded) {
            ++outcome.succeeded;
        } else if (job->started && !(outcome.aborted && job->cancelled)) {
            outcome.failed.append(job->screen->GetName());
            outcome.failureList += QStringLiteral("'%1', ").arg(job->screen->GetName());
        }
    }
    if (!outcome.failureList.isEmpty() && root.GetChildCount() > 1)
        ui.Warn(-1,
                LoadString(kTextFailureList).replace(QStringLiteral("%s"), outcome.failureList));
    return outcome;
}
