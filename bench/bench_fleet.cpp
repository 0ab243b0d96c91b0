// lumivant-bench fleet: 16 screens of about 256 KB of screen data each, sent to 16
// simulated controllers on UDP loopback with Send All 16 at a time, against the same
// sent one after another, in the same run. Both use the command line's pauses around
// opening and closing each link; the figure without them is printed too.
#include "bench/bench_registry.h"

#include "base/operation_ui.h"

#include "comm/controller_link.h"
#include "comm/parallel_send.h"
#include "comm/send_pipeline.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "sim/sim_server.h"

#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kScreens = 16;
constexpr int kWidth = 512;
constexpr int kHeight = 256;
constexpr int kColourType = 2; // two planes: 32 KB a page
constexpr int kZones = 8;

class QuietUi final : public IOperationUi
{
public:
    void SetRange(int) override {}
    bool Update(int, const QString&) override { return false; }
    Answer Ask(const QString& text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return Answer::No;
    }
    void Inform(const QString&) override {}
    void Warn(const QString& text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
};

class QuietParallelUi final : public IParallelSendUi
{
public:
    void Begin(const QStringList&) override {}
    void Update(int, int, const QString&) override {}
    Answer Ask(int, const QString& text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return Answer::No;
    }
    void Inform(int, const QString&) override {}
    void Warn(int, const QString& text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
};

struct SimulatedCard
{
    CSimController controller;
    std::unique_ptr<CSimServer> server;
    std::thread thread;
};

class Fleet
{
public:
    Fleet()
    {
        for (int i = 0; i < kScreens; ++i) {
            auto card = std::make_unique<SimulatedCard>();
            card->controller.SetLogging(false);
            card->controller.Params().SetU16(ControllerParams::Width, kWidth);
            card->controller.Params().SetU16(ControllerParams::Height, kHeight);
            card->controller.Params().SetU8(ControllerParams::ColourType, kColourType);
            card->server = std::make_unique<CSimServer>(card->controller);
            QString error;
            if (!card->server->ListenUdp(QStringLiteral("127.0.0.1"), 0, QString(), error)) {
                std::fprintf(stderr, "%s\n", error.toUtf8().constData());
                m_ok = false;
            }
            SimulatedCard* raw = card.get();
            card->thread = std::thread([raw, this] { raw->server->Run(m_stop); });
            m_cards.push_back(std::move(card));
        }
    }
    ~Fleet()
    {
        m_stop = true;
        for (auto& card : m_cards)
            card->thread.join();
    }
    bool Ok() const { return m_ok; }
    int Port(int i) const { return m_cards[static_cast<size_t>(i)]->server->UdpPort(); }
    std::size_t Received(int i) const
    {
        return m_cards[static_cast<size_t>(i)]->controller.ScreenData().size();
    }

private:
    std::vector<std::unique_ptr<SimulatedCard>> m_cards;
    std::atomic<bool> m_stop{false};
    bool m_ok = true;
};

std::unique_ptr<CProjectRoot> FleetProject(const Fleet& fleet)
{
    auto root = std::make_unique<CProjectRoot>();
    for (int i = 0; i < kScreens; ++i) {
        auto screen = std::make_unique<CScreen>(root.get());
        screen->SetName(QStringLiteral("Shop%1").arg(i + 1));
        screen->Params().SetU16(ControllerParams::Width, kWidth);
        screen->Params().SetU16(ControllerParams::Height, kHeight);
        screen->Params().SetU8(ControllerParams::ColourType, kColourType);
        auto program = std::make_unique<CProgram>(screen.get());
        auto window = std::make_unique<CPlayWindow>(program.get());
        window->SetWindowRect({0, 0, kWidth, kHeight});
        for (int z = 0; z < kZones; ++z) {
            auto zone = std::make_unique<CTextZone>(window.get());
            zone->SetAction(1);
            zone->SetRtf(QStringLiteral("{\\rtf1\\fs36 Price %1.%2}").arg(i).arg(z));
            window->AddChild(std::move(zone));
        }
        program->AddChild(std::move(window));
        screen->AddChild(std::move(program));
        LinkOf(*screen).SelectLink(1);
        screen->Link().remoteIp = QStringLiteral("127.0.0.1");
        screen->Link().remotePort = static_cast<std::uint16_t>(fleet.Port(i));
        screen->Link().timeoutMs = 2000;
        root->AddChild(std::move(screen));
    }
    return root;
}

// Seconds for one Send All, or a negative value when a screen failed.
double TimeSendAll(CProjectRoot& root, const SendOptions& options, int parallel)
{
    QElapsedTimer timer;
    timer.start();
    SendAllResult result;
    if (parallel <= 1) {
        QuietUi ui;
        result = CSendPipeline(options).SendAll(root, ui);
    } else {
        QuietParallelUi ui;
        result = CParallelSend(options, parallel).SendAll(root, ui);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    return result.AllSucceeded() ? seconds : -1;
}

double RunFleetFigure()
{
    Fleet fleet;
    if (!fleet.Ok())
        return 0;
    auto root = FleetProject(fleet);

    SendOptions withPauses; // as lumivant-cli send does it
    SendOptions withoutPauses;
    withoutPauses.linkWaitMs = 0;
    withoutPauses.endWaitMs = 0;
    const double parallel = TimeSendAll(*root, withPauses, kScreens);
    const double sequential = TimeSendAll(*root, withPauses, 1);
    const double parallelBare = TimeSendAll(*root, withoutPauses, kScreens);
    const double sequentialBare = TimeSendAll(*root, withoutPauses, 1);
    if (parallel < 0 || sequential < 0 || parallelBare < 0 || sequentialBare < 0) {
        std::fprintf(stderr, "a send failed\n");
        return 0;
    }
    std::printf("%d screens, %zu bytes of screen data each\n", kScreens, fleet.Received(0));
    std::printf("Send All one at a time: %.2f s; 16 at a time: %.2f s\n", sequential, parallel);
    std::printf("without the link pauses: one at a time %.2f s; 16 at a time %.2f s (%.3f)\n",
                sequentialBare, parallelBare, parallelBare / sequentialBare);
    return parallel / sequential;
}

BenchRegistration reg("fleet", "16 screens of 256 KB sent 16 at a time vs one at a time",
                      RunFleetFigure);

} // namespace
