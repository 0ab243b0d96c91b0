// Feeds arbitrary bytes to the simulator's request handling: whole datagrams, and the
// serial stream that cuts frames out of a byte flow.
#include "sim/sim_controller.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_sim_request";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    const int length = static_cast<int>(size > 70000 ? 70000 : size);

    CSimController controller;
    std::vector<std::uint8_t> reply;
    QString log;
    controller.Handle(data, length, reply, log);

    CSimStream stream;
    std::vector<std::vector<std::uint8_t>> replies;
    QStringList lines;
    // In two pieces, as bytes arrive on a line.
    const int half = length / 2;
    stream.Feed(data, half, controller, replies, lines);
    stream.Feed(data + half, length - half, controller, replies, lines);
    return 0;
}
