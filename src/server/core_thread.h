#pragma once

#include <QObject>

#include <atomic>
#include <functional>

// The thread that owns the renderer and the server's copy of the project: the
// application's thread. The renderer is not made for threads, so the request threads and
// the send jobs hand it their work and wait.
class CCoreThread
{
public:
    CCoreThread();
    ~CCoreThread();
    CCoreThread(const CCoreThread&) = delete;
    CCoreThread& operator=(const CCoreThread&) = delete;

    // Runs the task on the core thread and returns once it ran; false, without running it,
    // once the server stops.
    [[nodiscard]] bool Run(const std::function<void()>& task);
    // Refuses every later task; those already handed over still run.
    void Stop() { m_stopped = true; }
    bool Stopped() const { return m_stopped; }

private:
    QObject m_context;
    std::atomic<bool> m_stopped{false};
};
