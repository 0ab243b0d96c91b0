#include "server/send_jobs.h"

#include "base/last_error.h"
#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/controller_link.h"
#include "comm/link_target.h"
#include "comm/parallel_send.h"
#include "comm/send_overlap.h"
#include "comm/send_pipeline.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/compile_screen.h"
#include "server/core_thread.h"
#include "server/project_host.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <atomic>

#include <sys/stat.h>

namespace {

constexpr int kTextSucceed = 41048;
constexpr int kTextCanceled = 41052;
constexpr int kTextCommandFailed = 43027;
constexpr int kTextCommandSucceed = 43028;
constexpr int kTextStopping = 61820;
constexpr int kTextNoSuchScreen = 61830;
constexpr int kTextBadUdp = 61831;
constexpr int kTextBadSerial = 61832;
constexpr int kTextOverlap = 61833;
constexpr int kTextTooManyJobs = 61834;
constexpr int kTextNoScreens = 61835;

QString Iso(const QDateTime& time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

// A serial link of the server names a serial device, never just any file.
bool IsSerialDevice(const QString& device)
{
    static const QRegularExpression kCom(QStringLiteral("^COM\\d+$"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (kCom.match(device).hasMatch())
        return true;
    if (!device.startsWith(QStringLiteral("/dev/")) || device.contains(QStringLiteral("/../")))
        return false;
    struct stat info = {};
    return ::stat(QFile::encodeName(device).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

// The renderer lives on the core thread: a send hands its rendering and compiling there.
class CCoreRendering final : public ISendRendering
{
public:
    explicit CCoreRendering(CCoreThread& core) : m_core(core) {}
    void Prepare(CScreen& screen, RenderForm form) override
    {
        (void)m_core.Run([&] { screen.Prepare(form); });
    }
    bool Compile(CScreen& screen, CByteBuffer& buffer, QString& reason) override
    {
        bool compiled = false;
        const bool ran = m_core.Run([&] {
            ClearLastError();
            compiled = WriteData(screen, buffer);
            reason = LastError();
        });
        if (!ran)
            reason = LoadString(kTextStopping);
        return ran && compiled;
    }

private:
    CCoreThread& m_core;
};

} // namespace

struct CSendJobs::Job
{
    enum class Kind { Send, Status };
    struct Screen
    {
        int number = 0;
        QString name;
        QString state = QStringLiteral("queued");
        int position = 0;
        QString text;
        QString message;
        QString overlapQuestion; // answered "send anyway"

        static Screen Numbered(int number)
        {
            Screen screen;
            screen.number = number;
            return screen;
        }
    };

    qint64 id = 0;
    Kind kind = Kind::Send;
    // The texts of the job come in the language of the request that started it.
    Language language = CurrentLanguage();
    QString state = QStringLiteral("queued");
    QDateTime created = QDateTime::currentDateTimeUtc();
    QDateTime started;
    QDateTime finished;
    QString message;
    QJsonObject result;
    std::vector<Screen> screens;
    QStringList links;
    std::unique_ptr<CProjectRoot> root;
    std::atomic<bool> cancel{false};
    // The cancel the link's waits look at; set once, so that the end of the transfer after a
    // cancel still gets through.
    std::atomic<bool> commCancel{false};

    bool Ended() const { return finished.isValid(); }
    CScreen* ScreenObject(int index) const
    {
        return static_cast<CScreen*>(
            root->GetChild(screens[static_cast<size_t>(index)].number - 1));
    }
};

namespace {

// What the cards' operations show, kept in the job for GET /jobs. Questions are answered
// as an unattended send answers them: retry a chunk (a bounded number of times), send a
// screen with overlapping windows only when the request said so.
class CJobProgress
{
public:
    CJobProgress(std::mutex& mutex, CSendJobs::Job& job) : m_mutex(mutex), m_job(job) {}

    bool Update(int screen, int position, const QString& text)
    {
        std::lock_guard lock(m_mutex);
        auto& entry = m_job.screens[static_cast<size_t>(screen)];
        entry.position = position;
        entry.text = text;
        return m_job.cancel;
    }
    Answer Ask(int screen, const QString& text)
    {
        std::lock_guard lock(m_mutex);
        if (m_job.cancel)
            return Answer::No;
        const auto& entry = m_job.screens[static_cast<size_t>(screen)];
        return text == entry.overlapQuestion ? Answer::No : Answer::Yes;
    }
    void Tell(int screen, const QString& text)
    {
        std::lock_guard lock(m_mutex);
        if (screen < 0)
            m_job.message = text;
        else
            m_job.screens[static_cast<size_t>(screen)].message = text;
    }
    bool Cancelled() const { return m_job.cancel; }

private:
    std::mutex& m_mutex;
    CSendJobs::Job& m_job;
};

class CJobUi final : public IOperationUi
{
public:
    CJobUi(CJobProgress& progress, int screen) : m_progress(progress), m_screen(screen) {}
    void SetRange(int) override {}
    bool Update(int position, const QString& text) override
    {
        return m_progress.Update(m_screen, position, text);
    }
    Answer Ask(const QString& text) override { return m_progress.Ask(m_screen, text); }
    void Inform(const QString& text) override { m_progress.Tell(m_screen, text); }
    void Warn(const QString& text) override { m_progress.Tell(m_screen, text); }

private:
    CJobProgress& m_progress;
    int m_screen;
};

class CJobParallelUi final : public IParallelSendUi
{
public:
    explicit CJobParallelUi(CJobProgress& progress) : m_progress(progress) {}
    void Begin(const QStringList&) override {}
    void Update(int screen, int position, const QString& text) override
    {
        m_progress.Update(screen, position, text);
    }
    Answer Ask(int screen, const QString& text) override { return m_progress.Ask(screen, text); }
    void Inform(int screen, const QString& text) override { m_progress.Tell(screen, text); }
    void Warn(int screen, const QString& text) override { m_progress.Tell(screen, text); }
    bool CancelAll() override { return m_progress.Cancelled(); }

private:
    CJobProgress& m_progress;
};

} // namespace

CSendJobs::CSendJobs(CProjectHost& host, CCoreThread& core, int runners)
    : m_host(host), m_core(core)
{
    for (int i = 0; i < runners; ++i)
        m_runners.emplace_back([this] { RunnerLoop(); });
}

CSendJobs::~CSendJobs()
{
    Stop();
}

void CSendJobs::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping && m_runners.empty())
            return;
        m_stopping = true;
        for (const auto& job : m_jobs) {
            if (job->Ended())
                continue;
            job->cancel = true;
            job->commCancel = true;
            if (job->state == QLatin1String("queued")) {
                job->state = QStringLiteral("failed");
                job->message = LoadString(kTextCanceled);
                job->finished = QDateTime::currentDateTimeUtc();
                job->root.reset();
            }
        }
    }
    m_changed.notify_all();
    for (std::thread& runner : m_runners)
        runner.join();
    m_runners.clear();
}

bool CSendJobs::Prepare(Job& job, const LinkChoice& link, bool ignoreOverlap, ApiError& error)
{
    job.root = m_host.LoadCopy(error);
    if (!job.root)
        return false;
    int screenCount = 0;
    for (int i = 0; i < job.root->GetChildCount(); ++i)
        screenCount += job.root->GetChild(i)->GetKind() == KindScreen ? 1 : 0;
    for (int i = 0; i < job.root->GetChildCount(); ++i) {
        if (auto* screen = dynamic_cast<CScreen*>(job.root->GetChild(i)))
            screen->SetSelected(0);
    }
    for (int index = 0; index < static_cast<int>(job.screens.size()); ++index) {
        Job::Screen& entry = job.screens[static_cast<size_t>(index)];
        CProjectObject* object = entry.number >= 1 ? job.root->GetChild(entry.number - 1) : nullptr;
        if (!object || object->GetKind() != KindScreen) {
            error = {404, LoadString(kTextNoSuchScreen).arg(entry.number).arg(screenCount)};
            return false;
        }
        auto& screen = static_cast<CScreen&>(*object);
        entry.name = screen.GetName();
        screen.SetSelected(1);
        if (!link.udp.isEmpty() && PointLinkAtUdp(screen, link.udp) != LinkTargetProblem::None) {
            error = {400, LoadString(kTextBadUdp).arg(link.udp)};
            return false;
        }
        if (!link.serial.isEmpty() &&
            (!IsSerialDevice(link.serial) ||
             PointLinkAtSerial(screen, link.serial) != LinkTargetProblem::None)) {
            error = {400, LoadString(kTextBadSerial).arg(link.serial)};
            return false;
        }
        if (job.kind == Job::Kind::Send) {
            QString names;
            if (screen.FindOverlap(names)) {
                if (!ignoreOverlap) {
                    error = {409, LoadString(kTextOverlap).arg(screen.GetName(), names)};
                    return false;
                }
                entry.overlapQuestion = SendOverlapQuestion(screen);
            }
        }
        LinkOf(screen);
        const QString key = SendLinkKey(screen);
        if (!job.links.contains(key))
            job.links << key;
    }
    return true;
}

bool CSendJobs::Enqueue(std::shared_ptr<Job> job, QJsonObject& json, ApiError& error)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping) {
            error = {503, LoadString(kTextStopping)};
            return false;
        }
        const auto waiting = std::count_if(m_jobs.begin(), m_jobs.end(), [](const auto& each) {
            return each->state == QLatin1String("queued");
        });
        if (waiting >= kMaxWaiting) {
            error = {503, LoadString(kTextTooManyJobs)};
            return false;
        }
        job->id = m_nextId++;
        m_jobs.push_back(job);
        // Finished jobs beyond the kept number go, oldest first.
        int finished = 0;
        for (const auto& each : m_jobs)
            finished += each->Ended() ? 1 : 0;
        for (auto it = m_jobs.begin(); it != m_jobs.end() && finished > kKeptFinished;) {
            if ((*it)->Ended()) {
                it = m_jobs.erase(it);
                --finished;
            } else {
                ++it;
            }
        }
        json = JsonOf(*job);
    }
    m_changed.notify_all();
    return true;
}

bool CSendJobs::StartSend(const QList<int>& screens, const LinkChoice& link, bool ignoreOverlap,
                          QJsonObject& json, ApiError& error)
{
    if (screens.isEmpty()) {
        error = {400, LoadString(kTextNoScreens)};
        return false;
    }
    auto job = std::make_shared<Job>();
    job->kind = Job::Kind::Send;
    for (int number : screens) {
        if (std::none_of(job->screens.begin(), job->screens.end(),
                         [&](const Job::Screen& each) { return each.number == number; }))
            job->screens.push_back(Job::Screen::Numbered(number));
    }
    if (!Prepare(*job, link, ignoreOverlap, error))
        return false;
    return Enqueue(std::move(job), json, error);
}

bool CSendJobs::StartStatus(int screen, const LinkChoice& link, QJsonObject& json, ApiError& error)
{
    auto job = std::make_shared<Job>();
    job->kind = Job::Kind::Status;
    job->screens.push_back(Job::Screen::Numbered(screen));
    if (!Prepare(*job, link, false, error))
        return false;
    return Enqueue(std::move(job), json, error);
}

std::shared_ptr<CSendJobs::Job> CSendJobs::FindLocked(qint64 id) const
{
    for (const auto& job : m_jobs) {
        if (job->id == id)
            return job;
    }
    return nullptr;
}

bool CSendJobs::Find(qint64 id, QJsonObject& json) const
{
    std::lock_guard lock(m_mutex);
    const auto job = FindLocked(id);
    if (!job)
        return false;
    json = JsonOf(*job);
    return true;
}

bool CSendJobs::Wait(qint64 id, int timeoutMs, QJsonObject& json)
{
    std::unique_lock lock(m_mutex);
    const auto job = FindLocked(id);
    if (!job)
        return false;
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return job->Ended(); });
    json = JsonOf(*job);
    return true;
}

std::shared_ptr<CSendJobs::Job> CSendJobs::NextRunnable()
{
    for (const auto& job : m_jobs) {
        if (job->state != QLatin1String("queued"))
            continue;
        const bool busy = std::any_of(job->links.begin(), job->links.end(),
                                      [&](const QString& key) { return m_busyLinks.count(key); });
        if (!busy)
            return job;
    }
    return nullptr;
}

void CSendJobs::RunnerLoop()
{
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stopping || (job = NextRunnable()) != nullptr; });
            if (m_stopping)
                return;
            job->state = QStringLiteral("running");
            job->started = QDateTime::currentDateTimeUtc();
            for (const QString& key : job->links)
                m_busyLinks.insert(key);
        }
        m_changed.notify_all();
        Run(*job);
        {
            std::lock_guard lock(m_mutex);
            job->finished = QDateTime::currentDateTimeUtc();
            for (const QString& key : job->links)
                m_busyLinks.erase(key);
            job->root.reset();
        }
        m_changed.notify_all();
    }
}

void CSendJobs::Run(Job& job)
{
    // The link's waits look at this job's own cancel.
    CThreadCommCancel ownCancel(job.commCancel);
    const CThreadLanguage language(job.language);
    if (job.kind == Job::Kind::Status)
        RunStatus(job);
    else
        RunSend(job);
}

void CSendJobs::RunStatus(Job& job)
{
    CScreen& screen = *job.ScreenObject(0);
    CControllerLink& link = LinkOf(screen);
    {
        std::lock_guard lock(m_mutex);
        job.screens[0].state = QStringLiteral("running");
    }
    const bool read = link.ReadParams();
    const QString failure = LoadString(kTextCommandFailed) + link.GetErrorText();
    link.CloseLink();
    std::lock_guard lock(m_mutex);
    if (!read) {
        job.state = job.screens[0].state = QStringLiteral("failed");
        job.message = job.screens[0].message = job.cancel ? LoadString(kTextCanceled) : failure;
        return;
    }
    using P = ControllerParams;
    const ControllerParams& params = screen.Params();
    const CModelInfo model = link.ModelInfo();
    QStringList identity;
    for (std::uint8_t byte : screen.Identity())
        identity << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
    job.result = QJsonObject{
        {QStringLiteral("screen"), job.screens[0].number},
        {QStringLiteral("name"), screen.GetName()},
        {QStringLiteral("model"), model.GetName()},
        {QStringLiteral("version"), model.GetVersionText()},
        {QStringLiteral("identity"), identity.join(u' ')},
        {QStringLiteral("width"), params.PanelWidth()},
        {QStringLiteral("height"), params.PanelHeight()},
        {QStringLiteral("colourType"), params.U8(P::ColourType)},
        {QStringLiteral("brightness"), params.U8(P::Brightness)},
        {QStringLiteral("brightnessMode"), params.U8(P::BrightnessMode)},
        {QStringLiteral("power"), params.U8(P::PowerState) != 0},
        {QStringLiteral("powerMode"), params.U8(P::PowerMode)},
        {QStringLiteral("readAt"), Iso(QDateTime::currentDateTimeUtc())},
    };
    job.state = job.screens[0].state = QStringLiteral("done");
    job.message = job.screens[0].message = LoadString(kTextCommandSucceed);
}

void CSendJobs::RunSend(Job& job)
{
    CJobProgress progress(m_mutex, job);
    CCoreRendering rendering(m_core);
    SendOptions options;
    options.retryLimit = kAutomaticRetries;
    options.rendering = &rendering;
    {
        std::lock_guard lock(m_mutex);
        for (auto& entry : job.screens)
            entry.state = QStringLiteral("running");
    }
    if (job.screens.size() == 1) {
        CSendPipeline pipeline(options);
        CJobUi ui(progress, 0);
        const bool sent = pipeline.SendScreen(*job.ScreenObject(0), ui);
        std::lock_guard lock(m_mutex);
        auto& entry = job.screens[0];
        entry.state = job.state = sent ? QStringLiteral("done") : QStringLiteral("failed");
        entry.message = job.message =
            sent ? LoadString(kTextSucceed)
                 : (job.cancel ? LoadString(kTextCanceled) : pipeline.FailureText());
        return;
    }
    CJobParallelUi ui(progress);
    const int parallel = std::min(static_cast<int>(job.screens.size()), kMaxParallel);
    const SendAllResult result = CParallelSend(options, parallel).SendAll(*job.root, ui);
    std::lock_guard lock(m_mutex);
    for (auto& entry : job.screens) {
        const bool failed = result.failed.contains(entry.name) || result.aborted;
        entry.state = failed ? QStringLiteral("failed") : QStringLiteral("done");
        if (!failed && entry.message.isEmpty())
            entry.message = LoadString(kTextSucceed);
    }
    job.state = result.AllSucceeded() ? QStringLiteral("done") : QStringLiteral("failed");
    if (job.cancel)
        job.message = LoadString(kTextCanceled);
    else if (result.AllSucceeded())
        job.message = LoadString(kTextSucceed);
}

QJsonObject CSendJobs::JsonOf(const Job& job) const
{
    QJsonArray screens;
    for (const Job::Screen& entry : job.screens)
        screens.append(QJsonObject{{QStringLiteral("number"), entry.number},
                                   {QStringLiteral("name"), entry.name},
                                   {QStringLiteral("state"), entry.state},
                                   {QStringLiteral("position"), entry.position},
                                   {QStringLiteral("range"), CSendPipeline::kProgressRange},
                                   {QStringLiteral("text"), entry.text},
                                   {QStringLiteral("message"), entry.message}});
    QJsonObject json{
        {QStringLiteral("id"), job.id},
        {QStringLiteral("kind"),
         job.kind == Job::Kind::Send ? QStringLiteral("send") : QStringLiteral("status")},
        {QStringLiteral("state"), job.state},
        {QStringLiteral("message"), job.message},
        {QStringLiteral("screens"), screens},
        {QStringLiteral("created"), Iso(job.created)},
    };
    if (job.started.isValid())
        json.insert(QStringLiteral("started"), Iso(job.started));
    if (job.finished.isValid())
        json.insert(QStringLiteral("finished"), Iso(job.finished));
    if (!job.result.isEmpty())
        json.insert(QStringLiteral("result"), job.result);
    return json;
}
