// lumivant-bench lossy: a 1 MB screen sent through the fault relay losing 2% and doubling
// 2% of the datagrams each way, against the same send through the relay without faults,
// taking turns in the same run.
#include "bench/bench_loopback.h"
#include "bench/bench_registry.h"

#include "base/operation_ui.h"
#include "comm/controller_link.h"
#include "comm/send_pipeline.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "sim/sim_fault_relay.h"
#include "sim/sim_server.h"

#include <QCryptographicHash>
#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

constexpr int kRounds = 5;
constexpr std::uint32_t kSeed = 2024;

// Answers the retry question Yes, as --yes does.
class YesUi final : public IOperationUi
{
public:
    void SetRange(int) override {}
    bool Update(int, const QString&) override { return false; }
    Answer Ask(const QString& text) override
    {
        ++questions;
        std::fprintf(stderr, "%s yes\n", text.toUtf8().constData());
        return Answer::Yes;
    }
    void Inform(const QString&) override {}
    void Warn(const QString& text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    int questions = 0;
};

// A full-colour 512 × 256 screen with one window of 21 zones of one page each: about 1 MB
// of screen data.
std::unique_ptr<CProjectRoot> MegabyteProject(int port)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Params().SetU16(ControllerParams::Width, 512);
    screen->Params().SetU16(ControllerParams::Height, 256);
    screen->Params().SetU8(ControllerParams::ColourType, 3);
    auto* program = static_cast<CProgram*>(screen->GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    window->SetWindowRect({0, 0, 512, 256});
    for (int i = 0; i < 21; ++i)
        window->AddChild(std::make_unique<CTextZone>(window.get()));
    program->AddChild(std::move(window));
    LinkOf(*screen).SelectLink(1);
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    screen->Link().remotePort = static_cast<std::uint16_t>(port);
    screen->Link().timeoutMs = 1000;
    return root;
}

QByteArray Digest(const std::vector<std::uint8_t>& data)
{
    return QCryptographicHash::hash(
               QByteArrayView(data.data(), static_cast<qsizetype>(data.size())),
               QCryptographicHash::Sha256)
        .toHex();
}

struct Route
{
    explicit Route(int cardPort, bool faulty) : relay(cardPort, kSeed)
    {
        if (!faulty)
            return;
        RelayFaults faults;
        faults.drop = 0.02;
        faults.duplicate = 0.02;
        relay.SetFaults(CUdpFaultRelay::Direction::ToCard, faults);
        relay.SetFaults(CUdpFaultRelay::Direction::ToLink, faults);
    }
    CUdpFaultRelay relay;
};

double RunLossyFigure()
{
    CSimController controller;
    controller.SetLogging(false);
    CSimServer server(controller);
    QString error;
    if (!server.ListenUdp(QStringLiteral("127.0.0.1"), 0, QString(), error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 0;
    }
    controller.Params().SetU16(ControllerParams::Width, 512);
    controller.Params().SetU16(ControllerParams::Height, 256);
    controller.Params().SetU8(ControllerParams::ColourType, 3);
    std::atomic<bool> stop{false};
    std::thread simThread([&] { server.Run(stop); });

    Route clean(server.UdpPort(), false);
    Route lossy(server.UdpPort(), true);
    SendOptions options;
    options.chunkSize = 256;
    options.linkWaitMs = 0;
    options.endWaitMs = 0;
    options.retryLimit = 3;
    qint64 cleanNs = 0;
    qint64 lossyNs = 0;
    qint64 bytes = 0;
    bool ok = true;
    YesUi ui;
    for (int round = 0; round < kRounds && ok; ++round) {
        for (Route* route : {&clean, &lossy}) {
            auto root = MegabyteProject(route->relay.Port());
            CSendPipeline pipeline(options);
            QElapsedTimer timer;
            timer.start();
            ok = pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui);
            (route == &clean ? cleanNs : lossyNs) += timer.nsecsElapsed();
            if (!ok) {
                std::fprintf(stderr, "send failed: %s\n",
                             pipeline.FailureText().toUtf8().constData());
                break;
            }
            // The card's data is read between sends, while it waits for the next request.
            if (Digest(controller.ScreenData()) != pipeline.SentDigest()) {
                std::fprintf(stderr, "the card holds other data than was sent\n");
                ok = false;
                break;
            }
            bytes = pipeline.SentBytes();
        }
    }
    stop = true;
    simThread.join();
    if (!ok)
        return 0;

    const CUdpFaultRelay::Counts counts = lossy.relay.GetCounts();
    const double cleanSeconds = cleanNs / 1e9 / kRounds;
    const double lossySeconds = lossyNs / 1e9 / kRounds;
    std::printf("screen data: %lld bytes, %d rounds\n", static_cast<long long>(bytes), kRounds);
    std::printf("through the relay without faults: %.3f s a send (%.0f KB/s)\n", cleanSeconds,
                bytes / cleanSeconds / 1024);
    std::printf("with 2%% loss and 2%% doubled each way: %.3f s a send (%.0f KB/s)\n", lossySeconds,
                bytes / lossySeconds / 1024);
    std::printf("faulty route: %d requests, %d replies, %d lost, %d doubled; %d questions\n",
                counts.requests, counts.replies, counts.dropped, counts.duplicated, ui.questions);
    return cleanSeconds > 0 ? lossySeconds / cleanSeconds : 0;
}

BenchRegistration reg("lossy", "1 MB send with 2% loss and 2% doubled datagrams vs none",
                      RunLossyFigure);

} // namespace
