// Feeds arbitrary bytes to the project loader.
#include "model/project_root.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_project_loader";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    CProjectRoot root;
    root.LoadProjectBuffer(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    root.SaveProjectBuffer();
    return 0;
}
