#pragma once

#include "server/api_error.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

class CCoreThread;
class CProjectHost;

// Where a job reaches the card: the screen's own link, or for this job only a network
// address or a serial device.
struct LinkChoice
{
    QString udp;    // "ADDR:PORT"
    QString serial; // a device path or COMn
};

// The server's work with the cards: sends and status reads, each a job with an id that runs
// on a thread of its own. A few run at once, the rest wait in order; two jobs that reach
// the same card (the same address, the same serial line) never run at the same time.
// Finished jobs are kept for a while to be asked about, the oldest dropped first.
class CSendJobs
{
public:
    struct Job;

    static constexpr int kRunners = 3;
    static constexpr int kMaxWaiting = 32;
    static constexpr int kKeptFinished = 100;
    static constexpr int kMaxParallel = 4;
    // An automatic Yes to the retry question tries a failed chunk this many more times.
    static constexpr int kAutomaticRetries = 3;

    CSendJobs(CProjectHost& host, CCoreThread& core, int runners = kRunners);
    ~CSendJobs();

    // Sends the screens (numbers from 1): one as lumivant-cli send does, several at once as
    // send --all --parallel does. A screen whose windows overlap is refused unless
    // ignoreOverlap. The job's state in job.
    bool StartSend(const QList<int>& screens, const LinkChoice& link, bool ignoreOverlap,
                   QJsonObject& job, ApiError& error);
    // Reads the card's identity and parameter block, as read-params does.
    bool StartStatus(int screen, const LinkChoice& link, QJsonObject& job, ApiError& error);

    bool Find(qint64 id, QJsonObject& job) const;
    // Waits until the job ended or the time ran out; its state then.
    bool Wait(qint64 id, int timeoutMs, QJsonObject& job);

    // Cancels the running jobs (a send ends its transfer), drops the waiting ones and ends
    // the threads.
    void Stop();

private:
    bool Prepare(Job& job, const LinkChoice& link, bool ignoreOverlap, ApiError& error);
    bool Enqueue(std::shared_ptr<Job> job, QJsonObject& json, ApiError& error);
    std::shared_ptr<Job> NextRunnable();
    void RunnerLoop();
    void Run(Job& job);
    void RunStatus(Job& job);
    void RunSend(Job& job);
    QJsonObject JsonOf(const Job& job) const;
    std::shared_ptr<Job> FindLocked(qint64 id) const;

    CProjectHost& m_host;
    CCoreThread& m_core;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::shared_ptr<Job>> m_jobs; // oldest first
    std::set<QString> m_busyLinks;
    qint64 m_nextId = 1;
    bool m_stopping = false;
    std::vector<std::thread> m_runners;
};
