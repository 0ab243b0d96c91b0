// lumivant-sim: a controller card on this machine, for trying Lumivant without hardware
// and for end-to-end tests.
#include "config/model_info.h"
#include "sim/sim_server.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <optional>

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int)
{
    g_stop = true;
}

const char kUsage[] =
    "Usage: lumivant-sim [--udp ADDR:PORT] [--serial DEVICE [--baud 9600|57600]]\n"
    "                    [--model NAME | --identity B0,B1,B2,B3,B4] [--panel-id N]\n"
    "                    [--state DIR] [--reply-from ADDR]\n"
    "                    [--geometry W,H,COLOURS[,POLARITY]]\n"
    "  --geometry            the panel block's width, height, colour type (1 R, 2 RG, 3 RGB)\n"
    "                        and data polarity (0 or 1), so the card can match a project\n"
    "Faults:\n"
    "  --drop CMD:K[-[L]]    leave the K-th request of command CMD unanswered, or the K-th\n"
    "                        to the L-th, or every one from the K-th on (repeatable)\n"
    "  --delay MS            answer every request MS milliseconds after it came (the card\n"
    "                        keeps taking requests meanwhile)\n"
    "  --restart CMD:K       restart at the K-th request of command CMD: an unfinished\n"
    "                        transfer is forgotten and nothing is answered for 300 ms\n"
    "  --status CMD:S        answer command CMD with status S without acting on it\n"
    "  --bad-checksum CMD    corrupt the checksum of the replies to command CMD\n"
    "  --wrong-size CMD:N    answer command CMD with a payload of N bytes\n"
    "  --legacy              answer the previous generation's 52-byte probe\n"
    "With neither --udp nor --serial it listens on UDP 127.0.0.1:5959.\n";

int Usage(const QString& message)
{
    std::fprintf(stderr, "lumivant-sim: %s\n%s", message.toUtf8().constData(), kUsage);
    return 2;
}

bool ParsePair(const QString& text, int& first, int& second)
{
    const QStringList parts = text.split(u':');
    if (parts.size() != 2)
        return false;
    bool ok1 = false;
    bool ok2 = false;
    first = parts[0].toInt(&ok1);
    second = parts[1].toInt(&ok2);
    return ok1 && ok2;
}

bool ParseNumber(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

// CMD:K, CMD:K-L or CMD:K- (from K on).
bool ParseDrop(const QString& text, int& command, SimFaults::Range& range)
{
    const QStringList parts = text.split(u':');
    if (parts.size() != 2 || !ParseNumber(parts[0], 0, 255, command))
        return false;
    const QStringList bounds = parts[1].split(u'-');
    if (bounds.size() > 2 || !ParseNumber(bounds[0], 1, 1 << 30, range.first))
        return false;
    range.last = range.first;
    if (bounds.size() == 2) {
        range.last = 0;
        if (!bounds[1].isEmpty() && !ParseNumber(bounds[1], range.first, 1 << 30, range.last))
            return false;
    }
    return true;
}

// The panel block a --geometry option asks for.
struct PanelGeometry
{
    int width = 0;
    int height = 0;
    int colours = 0;
    int polarity = -1; // -1: left as it is
};

bool ParseGeometry(const QString& text, PanelGeometry& geometry)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 3 && parts.size() != 4)
        return false;
    return ParseNumber(parts[0], 1, 65535, geometry.width) &&
           ParseNumber(parts[1], 1, 65535, geometry.height) &&
           ParseNumber(parts[2], 1, 3, geometry.colours) &&
           (parts.size() == 3 || ParseNumber(parts[3], 0, 1, geometry.polarity));
}

void ApplyGeometry(const PanelGeometry& geometry, ControllerParams& params)
{
    params.SetU16(ControllerParams::Width, static_cast<std::uint16_t>(geometry.width));
    params.SetU16(ControllerParams::Height, static_cast<std::uint16_t>(geometry.height));
    params.SetU8(ControllerParams::ColourType, static_cast<std::uint8_t>(geometry.colours));
    if (geometry.polarity >= 0)
        params.SetU8(ControllerParams::DataPolarity, static_cast<std::uint8_t>(geometry.polarity));
}

void Print(const QString& line)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    std::printf("%s %s\n", stamp.toUtf8().constData(), line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Before anything is printed: whoever waits for the first lines may stop us at once.
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    QStringList words = QCoreApplication::arguments().mid(1);

    CSimController controller;
    SimFaults& faults = controller.Faults();
    QString udp;
    QString serial;
    QString replyFrom;
    QString state;
    int baud = 57600;
    int panelId = -1;
    std::optional<PanelGeometry> geometry;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString option = words[i];
        if (option == QStringLiteral("--help") || option == QStringLiteral("-h")) {
            std::printf("%s", kUsage);
            return 0;
        }
        if (option == QStringLiteral("--legacy")) {
            faults.legacyProbe = true;
            continue;
        }
        if (i + 1 >= words.size())
            return Usage(QStringLiteral("%1 needs a value").arg(option));
        const QString value = words[++i];
        int a = 0;
        int b = 0;
        if (option == QStringLiteral("--udp")) {
            udp = value;
        } else if (option == QStringLiteral("--serial")) {
            serial = value;
        } else if (option == QStringLiteral("--baud")) {
            if (!ParseNumber(value, 0, 1 << 30, baud) || (baud != 9600 && baud != 57600))
                return Usage(QStringLiteral("--baud takes 9600 or 57600"));
        } else if (option == QStringLiteral("--model")) {
            CModelInfo model;
            if (!model.AssignFromName(value))
                return Usage(
                    QStringLiteral("unknown model %1; the models are %2")
                        .arg(value, CModelInfo::ListedModelNames().join(QStringLiteral(", "))));
            auto identity = model.Identity();
            identity[2] = 0, identity[3] = 5, identity[4] = 1;
            controller.SetIdentity(identity);
        } else if (option == QStringLiteral("--identity")) {
            const QStringList parts = value.split(u',');
            std::array<std::uint8_t, 5> identity{};
            if (parts.size() != 5)
                return Usage(QStringLiteral("--identity takes five bytes"));
            for (int k = 0; k < 5; ++k) {
                bool ok = false;
                const int byte = parts[k].trimmed().toInt(&ok, 0);
                if (!ok || byte < 0 || byte > 255)
                    return Usage(QStringLiteral("--identity takes five bytes"));
                identity[k] = static_cast<std::uint8_t>(byte);
            }
            controller.SetIdentity(identity);
        } else if (option == QStringLiteral("--panel-id")) {
            if (!ParseNumber(value, 0, 65535, a))
                return Usage(QStringLiteral("--panel-id takes 0 to 65535"));
            panelId = a;
        } else if (option == QStringLiteral("--geometry")) {
            PanelGeometry parsed;
            if (!ParseGeometry(value, parsed))
                return Usage(QStringLiteral(
                    "--geometry takes WIDTH,HEIGHT,COLOURS[,POLARITY] (colours 1 to 3, "
                    "polarity 0 or 1)"));
            geometry = parsed;
        } else if (option == QStringLiteral("--state")) {
            state = value;
        } else if (option == QStringLiteral("--reply-from")) {
            replyFrom = value;
        } else if (option == QStringLiteral("--drop")) {
            SimFaults::Range range;
            if (!ParseDrop(value, a, range))
                return Usage(QStringLiteral("--drop takes CMD:K, CMD:K-L or CMD:K-"));
            faults.drop[a].push_back(range);
        } else if (option == QStringLiteral("--restart")) {
            if (!ParsePair(value, a, b) || a < 0 || a > 255 || b < 1)
                return Usage(QStringLiteral("--restart takes CMD:K"));
            faults.restart[a] = b;
        } else if (option == QStringLiteral("--delay")) {
            if (!ParseNumber(value, 0, 60000, faults.delayMs))
                return Usage(QStringLiteral("--delay takes 0 to 60000"));
        } else if (option == QStringLiteral("--status")) {
            if (!ParsePair(value, a, b) || b < 0 || b > 255)
                return Usage(QStringLiteral("--status takes CMD:S"));
            faults.status[a] = b;
        } else if (option == QStringLiteral("--bad-checksum")) {
            if (!ParseNumber(value, 0, 255, a))
                return Usage(QStringLiteral("--bad-checksum takes a command code"));
            faults.badChecksum.insert(a);
        } else if (option == QStringLiteral("--wrong-size")) {
            if (!ParsePair(value, a, b) || b < 0 || b > CSimController::kMaxRequest - 12)
                return Usage(QStringLiteral("--wrong-size takes CMD:N"));
            faults.wrongSize[a] = b;
        } else {
            return Usage(QStringLiteral("unknown option %1").arg(option));
        }
    }
    if (udp.isEmpty() && serial.isEmpty())
        udp = QStringLiteral("127.0.0.1:5959");
    if (!state.isEmpty())
        controller.SetStateFolder(state);
    // The option wins over the block kept in the state folder.
    if (panelId >= 0)
        controller.SetPanelId(panelId);
    if (geometry)
        ApplyGeometry(*geometry, controller.Params());

    CSimServer server(controller);
    server.SetLogger(Print);
    QString error;
    if (!udp.isEmpty()) {
        const qsizetype colon = udp.lastIndexOf(u':');
        int port = 0;
        if (colon <= 0 || !ParseNumber(udp.mid(colon + 1), 0, 65535, port))
            return Usage(QStringLiteral("--udp takes ADDR:PORT"));
        if (!server.ListenUdp(udp.left(colon), port, replyFrom, error)) {
            std::fprintf(stderr, "lumivant-sim: %s\n", error.toUtf8().constData());
            return 1;
        }
        Print(QStringLiteral("listening on udp %1:%2%3")
                  .arg(udp.left(colon))
                  .arg(server.UdpPort())
                  .arg(replyFrom.isEmpty() ? QString()
                                           : QStringLiteral(", replying from %1").arg(replyFrom)));
    }
    if (!serial.isEmpty()) {
        if (!server.OpenSerial(serial, baud, error)) {
            std::fprintf(stderr, "lumivant-sim: %s\n", error.toUtf8().constData());
            return 1;
        }
        Print(QStringLiteral("listening on serial %1 @ %2").arg(serial).arg(baud));
    }
    const auto identity = controller.Identity();
    CModelInfo model;
    model.AssignFromIdentity(identity);
    Print(QStringLiteral("controller %1 V%2, panel %3")
              .arg(model.GetName(), model.GetVersionText())
              .arg(controller.Params().U16(ControllerParams::PanelId)));

    server.Run(g_stop);
    Print(QStringLiteral("stopped"));
    return 0;
}
