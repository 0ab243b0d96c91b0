// Feeds arbitrary bytes to the screen-data decoder, both as raw screen data and as a USB
// disk file. The first byte picks the colour count and the data polarity.
#include "render/decode_screen.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_decoder";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    if (size == 0)
        return 0;
    const int colours = data[0] % 3 + 1;
    const int polarity = (data[0] >> 2) & 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    QString error;
    DecodedScreen screen;
    if (!DecodeScreenData(bytes, colours, polarity, screen, error) && error.isEmpty())
        __builtin_trap(); // every refusal carries a reason
    DecodedExportFile file;
    error.clear();
    if (!DecodeExportFile(bytes, colours, polarity, file, error) && error.isEmpty())
        __builtin_trap();
    return 0;
}
