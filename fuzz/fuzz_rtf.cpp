// Feeds arbitrary bytes to the RTF reader, then renders and writes back what it read.
#include "render/rich_text_render.h"
#include "render/rtf_reader.h"
#include "render/rtf_writer.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    if (size > 64 * 1024)
        return 0;
    // Every input is taken as RTF: the prefix keeps the reader from the plain-text path.
    const QString text =
        QStringLiteral("{\\rtf1 ") +
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    ReadRtf(text, document);
    const QString written = WriteRtf(document);
    QTextDocument again;
    ReadRtf(written, again);
    RenderRichDocument(64, 16, static_cast<int>(size % 4), again, 0, 0);
    return 0;
}
