// lumivant-fuzz-seeds SOURCE_DIR CORPUS_DIR: writes the seed inputs of every fuzz target
// into CORPUS_DIR/fuzz_NAME/, made by the project's own code from its examples and test
// data: project files of every object kind, RTF as the editor writes it, compiled screen
// data and USB disk files, firmware packages, controller requests and replies, timetable
// texts. Each input is laid out the way its fuzz target reads it.
#include "base/string_table.h"
#include "comm/comm_packet.h"
#include "comm/controller_link.h"
#include "comm/des_triple.h"
#include "comm/firmware_key.h"
#include "comm/firmware_package.h"
#include "comm/firmware_packer.h"
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/rich_text_base.h"
#include "model/screen.h"
#include "render/byte_buffer.h"
#include "render/compile_screen.h"
#include "render/export_usb.h"
#include "render/renderer.h"
#include "render/rtf_writer.h"
#include "sim/sim_controller.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>
#include <vector>

namespace {

QString g_corpus;
int g_written = 0;

void Put(const char* target, const QString& name, const QByteArray& bytes)
{
    const QString folder = QDir(g_corpus).filePath(QLatin1String(target));
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    ++g_written;
}

QByteArray Bytes(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray ReadSource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

// --- projects -------------------------------------------------------------------------

const int kZoneKinds[] = {KindText,  KindImage,    KindAnimate,     KindTable,
                          KindClock, KindDateTime, KindTemperature, KindCountdown};

CProjectObject* AddChild(CProjectObject& parent, int kind, const QString& name)
{
    auto child = parent.CreateChild(kind);
    child->SetName(name);
    CProjectObject* raw = child.get();
    parent.AddChild(std::move(child));
    return raw;
}

CScreen* FirstScreen(CProjectRoot& root)
{
    return static_cast<CScreen*>(root.GetChild(0));
}

void SetGeometry(CScreen& screen, int width, int height, int colourType)
{
    screen.Params().SetU16(ControllerParams::Width, std::uint16_t(width));
    screen.Params().SetU16(ControllerParams::Height, std::uint16_t(height));
    screen.Params().SetU8(ControllerParams::ColourType, std::uint8_t(colourType));
}

CPlayWindow* AddWindow(CProgram& program, const LedRect& rect, const QString& name)
{
    auto* window = static_cast<CPlayWindow*>(AddChild(program, KindWindow, name));
    window->SetWindowRect(rect);
    return window;
}

// One screen of 64 x 16 with one window holding one zone of the kind.
std::unique_ptr<CProjectRoot> OneZoneProject(int kind, int colourType)
{
    auto root = CProjectRoot::NewProject();
    CScreen* screen = FirstScreen(*root);
    SetGeometry(*screen, 64, 16, colourType);
    auto* program = static_cast<CProgram*>(screen->GetChild(0));
    CPlayWindow* window = AddWindow(*program, {0, 0, 64, 16}, QStringLiteral("Window1"));
    auto* zone = static_cast<CEffectZone*>(AddChild(*window, kind, QStringLiteral("Zone1")));
    zone->SetAction(kind == KindText ? 4 : 1);
    if (kind == KindImage)
        static_cast<CImageZone*>(zone)->Key().sourcePath = QStringLiteral("logo.png");
    return root;
}

// Two screens (serial and network), a program with a border picture and a timetable,
// explicit and implicit windows, every zone kind.
std::unique_ptr<CProjectRoot> EverythingProject(int colourType)
{
    auto root = CProjectRoot::NewProject();
    CScreen* screen = FirstScreen(*root);
    SetGeometry(*screen, 128, 32, colourType);
    screen->SetName(QStringLiteral("Front"));
    screen->Link().linkKind = 1;
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    auto* program = static_cast<CProgram*>(screen->GetChild(0));
    program->Border().enabled = 1;
    program->Border().source = 1;
    program->BorderKey().sourcePath = QStringLiteral("border.bmp");
    program->Schedule().playMode = 1;
    program->Schedule().weekdays = 0x3E;
    program->Schedule().startTime = 8 * 3600;
    program->Schedule().endTime = 20 * 3600;
    int x = 0;
    for (int kind : kZoneKinds) {
        CPlayWindow* window =
            AddWindow(*program, {x, 0, x + 16, 16}, QStringLiteral("Window%1").arg(kind));
        AddChild(*window, kind, QStringLiteral("Zone%1").arg(kind));
        x += 16;
    }
    auto implicit = program->CreateChild(KindWindow);
    implicit->SetFore(0);
    static_cast<CPlayWindow*>(implicit.get())->SetWindowRect({0, 16, 128, 32});
    AddChild(*implicit, KindText, QStringLiteral("Note"));
    program->AddChild(std::move(implicit));
    auto* second = static_cast<CProgram*>(AddChild(*screen, KindProgram, QStringLiteral("Night")));
    AddChild(*AddWindow(*second, {0, 0, 128, 32}, QStringLiteral("All")), KindClock,
             QStringLiteral("Time"));

    auto* side = static_cast<CScreen*>(AddChild(*root, KindScreen, QStringLiteral("Side")));
    SetGeometry(*side, 32, 16, 1);
    side->Link().comPort = 3;
    side->Link().baudRate = 9600;
    auto* sideProgram = static_cast<CProgram*>(AddChild(*side, KindProgram, QStringLiteral("P")));
    AddChild(*AddWindow(*sideProgram, {0, 0, 32, 16}, QStringLiteral("W")), KindCountdown,
             QStringLiteral("Days"));
    return root;
}

// Small files of what the loader skips, fixes or refuses.
const char* const kOddProjects[] = {
    // Keys out of the writer's order, an unknown key and an unknown kind.
    "<?xml version=\"1.0\"?><project><Varnolite><varno>0</varno><lite>NULL</lite>"
    "<fore>0</fore><Varnolite><varno>120</varno><pw>64</pw><lite>S</lite><ph1>16</ph1>"
    "<zz>1</zz><Varnolite><varno>77</varno></Varnolite><Varnolite><varno>110</varno>"
    "<Varnolite><varno>100</varno><rect>0,0,64,16</rect><Varnolite><varno>1</varno>"
    "<rtf>{\\rtf1 A}</rtf></Varnolite></Varnolite></Varnolite></Varnolite></Varnolite>"
    "</project>",
    // An implicit window with two zones, an invalid rectangle, a window before its program.
    "<?xml version=\"1.0\"?><project><Varnolite><varno>0</varno><Varnolite><varno>120</varno>"
    "<Varnolite><varno>100</varno><rect>9,9,1,1</rect></Varnolite><Varnolite>"
    "<varno>110</varno><Varnolite><varno>100</varno><fore>0</fore><Varnolite><varno>2</varno>"
    "</Varnolite><Varnolite><varno>10</varno></Varnolite></Varnolite></Varnolite></Varnolite>"
    "</Varnolite></project>",
    // Another root, and no project element at all.
    "<?xml version=\"1.0\"?><screen><Varnolite><varno>0</varno></Varnolite></screen>",
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?><project/>",
};

void WriteProjects(const QString& source)
{
    Put("fuzz_project_loader", QStringLiteral("demo.ledprj"),
        ReadSource(QDir(source).filePath(QStringLiteral("examples/demo.ledprj"))));
    Put("fuzz_project_loader", QStringLiteral("new.ledprj"),
        CProjectRoot::NewProject()->SaveProjectBuffer());
    for (int kind : kZoneKinds)
        Put("fuzz_project_loader", QStringLiteral("zone-%1.ledprj").arg(kind),
            OneZoneProject(kind, 3)->SaveProjectBuffer());
    Put("fuzz_project_loader", QStringLiteral("everything.ledprj"),
        EverythingProject(2)->SaveProjectBuffer());
    int n = 0;
    for (const char* odd : kOddProjects)
        Put("fuzz_project_loader", QStringLiteral("odd-%1.ledprj").arg(++n), QByteArray(odd));
}

// --- rich text --------------------------------------------------------------------------

// The fuzz target puts "{\rtf1 " before every input: the seeds leave out their own.
QByteArray RtfSeed(const QString& rtf)
{
    QString body = rtf;
    if (body.startsWith(QLatin1String("{\\rtf1")))
        body = body.mid(6);
    return body.toLatin1();
}

QString EditorRtf()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Arial")});
    format.setFontPointSize(12);
    format.setForeground(QColor(255, 0, 0));
    cursor.insertText(QStringLiteral("Open "), format);
    format.setFontWeight(QFont::Bold);
    format.setFontItalic(true);
    format.setForeground(QColor(0, 255, 0));
    format.setBackground(QColor(0, 0, 255));
    cursor.insertText(QStringLiteral("today "), format);
    format.setFontUnderline(true);
    format.setFontFamilies({QStringLiteral("SimSun")});
    format.setFontPointSize(20);
    cursor.insertText(QStringLiteral("今日特价 ¥12"), format);
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignHCenter);
    block.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    cursor.insertBlock(block);
    cursor.insertText(QStringLiteral("Second line\tafter a tab"));
    block.setAlignment(Qt::AlignRight);
    block.setTopMargin(4);
    block.setBottomMargin(2);
    cursor.insertBlock(block);
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(QColor(255, 255, 0));
    picture.setPixel(1, 1, qRgb(255, 0, 0));
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("seed-picture")),
                         picture);
    QTextImageFormat image;
    image.setName(QStringLiteral("seed-picture"));
    image.setWidth(6);
    image.setHeight(4);
    cursor.insertImage(image);
    return WriteRtf(document);
}

QByteArray Hex(const QByteArray& bytes)
{
    return bytes.toHex();
}

QByteArray EncodedPicture(const char* format)
{
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(QColor(0, 255, 0));
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

void WriteRtfSeeds(const QString& source)
{
    // The text zones of the example project, as the editor stored them.
    const QByteArray demo =
        ReadSource(QDir(source).filePath(QStringLiteral("examples/demo.ledprj")));
    for (qsizetype from = demo.indexOf("<rtf>"), n = 1; from >= 0;
         from = demo.indexOf("<rtf>", from + 1), ++n) {
        const qsizetype end = demo.indexOf("</rtf>", from);
        if (end < 0)
            break;
        Put("fuzz_rtf", QStringLiteral("demo-%1.rtf").arg(n),
            RtfSeed(QString::fromUtf8(demo.mid(from + 5, end - from - 5))));
    }
    Put("fuzz_rtf", QStringLiteral("default.rtf"), RtfSeed(LoadString(41078)));
    Put("fuzz_rtf", QStringLiteral("editor.rtf"), RtfSeed(EditorRtf()));

    // What other writers put in: code pages, Unicode with fallbacks, fields, tables,
    // pictures of every kind the reader decodes, destinations it skips.
    const QByteArray dib = [] {
        // BITMAPINFOHEADER of a 2 x 2, 24-bit picture and its rows (4-byte aligned).
        QByteArray header(40, '\0');
        header[0] = 40;
        header[4] = 2;
        header[8] = 2;
        header[12] = 1;
        header[14] = 24;
        return header + QByteArray::fromHex("ff000000ff0000000000ff00ffffff0000");
    }();
    const QList<QByteArray> samples = {
        "\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset136 \\'b7\\'73\\'b2\\'d3\\'a9\\'fa"
        "\\'c5\\'e9;}}\\pard\\f0\\fs24\\'bb\\'b6\\'d3\\'ad\\f2\\'c5\\'77\\'aa\\'ef\\f1\\par}",
        "\\ansi\\uc1{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0"
        "\\blue255;}\\pard\\qc\\sl360\\slmult1\\sb60\\sa60\\cf1\\highlight2\\b Big\\b0 "
        "\\i\\ul x\\ulnone\\uldb y\\uld z\\i0\\u20170?\\u26085?\\uc2\\u-3913??\\tab\\line "
        "\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\par\\pard\\qr\\plain "
        "\\fs8 small\\par\\pard\\qj\\cb1\\chcbpat2 filled\\par}",
        "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt shown}}\\par"
        "\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row{\\*\\nesttableprops x\\nestcell}\\par}",
        "{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\*\\generator G;}"
        "{\\*\\themedata 00}{\\header h}{\\footnote f}{\\*\\bkmkstart b}{\\object{\\*\\objdata 0}}"
        "text\\bin3 abc\\par}",
        "{\\pict\\pngblip\\picw4\\pich3\\picwgoal60\\pichgoal45 " + Hex(EncodedPicture("PNG")) +
            "}\\par}",
        "{\\pict\\jpegblip\\picscalex200\\picscaley50 " + Hex(EncodedPicture("JPEG")) + "}\\par}",
        "{\\pict\\dibitmap0\\picw2\\pich2 " + Hex(dib) + "}\\par}",
        "{\\pict\\wbitmap0\\picw8\\pich2\\wbmbitspixel1\\wbmwidthbytes2 f0f00f0f}\\par}",
        "{\\*\\shppict{\\pict\\emfblip 0102}}{\\nonshppict{\\pict\\wmetafile8 0304}}"
        "{\\pict\\macpict 05}{\\pict\\pmmetafile 06}\\par}",
    };
    int n = 0;
    for (const QByteArray& sample : samples)
        Put("fuzz_rtf", QStringLiteral("sample-%1.rtf").arg(++n), sample);
}

// --- screen data ----------------------------------------------------------------------

// The fuzz target reads the colour count (byte % 3 + 1) and the data polarity (bit 2) from
// the first byte.
QByteArray WithDecoderByte(int colourType, int polarity, const QByteArray& bytes)
{
    int first = 0;
    while (first % 3 != colourType - 1 || ((first >> 2) & 1) != polarity)
        ++first;
    return QByteArray(1, char(first)) + bytes;
}

void WriteScreenData(CProjectRoot& root, const QString& name, int colourType, int polarity = 0)
{
    CScreen* screen = FirstScreen(root);
    screen->Params().SetU8(ControllerParams::DataPolarity, std::uint8_t(polarity));
    screen->Prepare(RenderForm::Controller);
    CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
    if (!WriteData(*screen, buffer) || buffer.Length() == 0)
        return;
    const QByteArray data(reinterpret_cast<const char*>(buffer.Data()), qsizetype(buffer.Length()));
    Put("fuzz_decoder", name + QStringLiteral(".data"),
        WithDecoderByte(colourType, polarity, data));
    ExportOptions options;
    options.includeParams = true;
    options.syncClock = true;
    options.localNow = 1800000000;
    Put("fuzz_decoder", name + QStringLiteral(".rzu"),
        WithDecoderByte(colourType, polarity, BuildExportFile(buffer, *screen, options)));
}

void WriteDecoderSeeds(const QString& source)
{
    CProjectRoot demo;
    if (demo.LoadProject(QDir(source).filePath(QStringLiteral("examples/demo.ledprj"))))
        WriteScreenData(demo, QStringLiteral("demo"), 2);
    for (int colourType = 1; colourType <= 3; ++colourType) {
        auto everything = EverythingProject(colourType);
        WriteScreenData(*everything, QStringLiteral("everything-%1").arg(colourType), colourType);
    }
    auto text = OneZoneProject(KindText, 1);
    WriteScreenData(*text, QStringLiteral("text-inverted"), 1, 1);
}

// --- firmware ---------------------------------------------------------------------------

QByteArray FirmwareImage(int size)
{
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char((37 * i + 11) & 0xFF);
    return image;
}

void WriteFirmwareSeeds(const QString& source)
{
    // The fuzz target's password; its first byte chooses the plain path (odd) and a target
    // of that model code with variant 0 (bit 1).
    const QString password = QStringLiteral("fuzz");
    const auto put = [&](const QString& name, std::uint8_t flags, const QByteArray& bytes) {
        Put("fuzz_firmware_package", name, QByteArray(1, char(flags)) + bytes);
    };
    for (const int size : {66, 80, 400, 1000}) {
        for (const std::uint8_t flags : {0x00, 0x02, 0x06}) {
            QByteArray package;
            QString error;
            if (!BuildFirmwarePackage(FirmwareImage(size), FirmwareTarget{flags, 0}, password,
                                      package, error))
                continue;
            put(QStringLiteral("package-%1-%2.rzbin").arg(size).arg(flags), flags, package);
        }
        // The plain image behind a package, which the target encrypts itself (odd first
        // byte), for the model code the first byte names.
        for (const std::uint8_t flags : {0x01, 0x03, 0x07}) {
            QByteArray package;
            QString error;
            if (!BuildFirmwarePackage(FirmwareImage(size), FirmwareTarget{flags, 0}, password,
                                      package, error))
                continue;
            std::vector<std::uint8_t> plain(package.begin(), package.end());
            if (CTripleDes(FirmwarePackageKey(password)).DecryptEcb(plain.data(), plain.size()))
                put(QStringLiteral("plain-%1-%2.bin").arg(size).arg(flags), flags, Bytes(plain));
        }
    }
    // What is refused: nothing, too short, cut inside a block, a package for another
    // model, a plain image without the marker.
    put(QStringLiteral("empty.bin"), 0x00, QByteArray());
    put(QStringLiteral("short.bin"), 0x00, QByteArray(40, '\x11'));
    QByteArray package;
    QString error;
    if (BuildFirmwarePackage(FirmwareImage(400), FirmwareTarget{7, 2}, password, package, error)) {
        put(QStringLiteral("cut.rzbin"), 0x00, package.left(77));
        put(QStringLiteral("other-model.rzbin"), 0x02, package);
    }
    put(QStringLiteral("plain-without-marker.bin"), 0x01, FirmwareImage(96));
    // A package made with another password, from the test data.
    put(QStringLiteral("other-password.rzbin"), 0x00,
        ReadSource(QDir(source).filePath(QStringLiteral("tests/data/firmware/sample-7-2.rzbin"))));
}

// --- controller frames ------------------------------------------------------------------

struct Request
{
    const char* name;
    int command;
    int param1;
    int param2;
    std::vector<std::uint8_t> payload;
};

// The requests of a send, maintenance and a firmware update; the parameter block written is
// the card's own with another size, so that the card keeps its panel ID.
std::vector<Request> Session(const ControllerParams& current)
{
    std::vector<std::uint8_t> params(current.Bytes().begin(), current.Bytes().end());
    params[ControllerParams::Width] = 64;
    params[ControllerParams::Height] = 16;
    std::vector<std::uint8_t> chunk = {0, 0, 0, 0};
    for (int i = 0; i < 60; ++i)
        chunk.push_back(std::uint8_t(i * 7));
    return {
        {"identify", CmdIdentify, 0, 0, {}},
        {"read-params", CmdReadParams, 0, 0, {}},
        {"write-params", CmdWriteParams, 0, 0, params},
        {"power", CmdPowerGroup, 0, 0,
         std::vector<std::uint8_t>(ControllerParams::kPowerBlockSize, 1)},
        {"time-sync", CmdTimeSync, 0, 0, {0x00, 0x5C, 0x4A, 0x6B, 0, 0, 0, 0}},
        {"begin-data", CmdBeginData, 0, 0, {0, 4, 0, 0, 60, 0, 0, 0}},
        {"data-chunk", CmdDataChunk, 0, 0, chunk},
        {"end-data", CmdEndData, 5, 0, {}},
        {"clear", CmdClearPanel, 0, 0, {}},
        {"reset-params", CmdResetParams, 0, 0, {}},
        {"firmware-query", CmdFirmwareQuery, 0x55, 0x55, {40, 45, 10, 95}},
        {"firmware-chunk", CmdDataChunk, 0, 0, chunk},
        {"firmware-switch-on", CmdFirmwareSwitch, 100, 70, {40, 45, 10, 95}},
        {"firmware-switch-off", CmdFirmwareSwitch, 0, 0xAA, {40, 45, 10, 95}},
        {"unknown-command", 99, 0, 0, {}},
        {"wrong-size", CmdIdentify, 0, 0, {1, 2}},
    };
}

void WriteFrameSeeds()
{
    CSimController controller;
    const int address = controller.Params().U16(ControllerParams::PanelId);
    QByteArray stream;
    for (const Request& request : Session(controller.Params())) {
        const CCommPacket packet(request.command, request.param1, request.param2, address,
                                 request.payload.data(), int(request.payload.size()));
        const QByteArray frame(reinterpret_cast<const char*>(packet.GetData()), packet.GetLength());
        Put("fuzz_sim_request", QStringLiteral("%1.req").arg(QLatin1String(request.name)), frame);
        Put("fuzz_reply", QStringLiteral("request-%1.bin").arg(QLatin1String(request.name)), frame);
        stream += frame;
        std::vector<std::uint8_t> reply;
        QString log;
        if (controller.Handle(packet.GetData(), packet.GetLength(), reply, log))
            Put("fuzz_reply", QStringLiteral("reply-%1.bin").arg(QLatin1String(request.name)),
                Bytes(reply));
    }
    // A whole session as bytes on a serial line, with noise between two frames.
    Put("fuzz_sim_request", QStringLiteral("session.stream"), stream);
    Put("fuzz_sim_request", QStringLiteral("noise.stream"),
        QByteArray("\x00\xff\x13", 3) + stream.left(40) + QByteArray(7, '\x55') + stream.mid(40));
    // Replies a card sends when something is wrong: every status, a bad checksum, a bad mark.
    for (int status = 1; status <= 8; ++status)
        Put("fuzz_reply", QStringLiteral("status-%1.bin").arg(status),
            Bytes(BuildReply(status, nullptr, 0)));
    std::vector<std::uint8_t> reply = BuildReply(0, nullptr, 0);
    reply.back() ^= 0x5A;
    Put("fuzz_reply", QStringLiteral("bad-checksum.bin"), Bytes(reply));
    reply = BuildReply(0, nullptr, 0);
    reply[2] = 0;
    Put("fuzz_reply", QStringLiteral("bad-marker.bin"), Bytes(reply));
}

void WriteScheduleSeeds()
{
    const char* const texts[] = {
        "06:00-18:00=12",
        "00:00-06:00=3,06:00-12:00=8,12:00-18:00=15,18:00-22:00=9,22:00-23:59=2,23:59-00:00=0",
        "07:30-22:00=on,22:00-07:30=off",
        "08:00-20:00=1, 20:00-08:00=0",
        "24:00-25:61=16",
        "6:5-7:9=on",
        "",
    };
    int n = 0;
    for (const char* text : texts)
        Put("fuzz_schedule_text", QStringLiteral("schedule-%1.txt").arg(++n), QByteArray(text));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: lumivant-fuzz-seeds SOURCE_DIR CORPUS_DIR\n");
        return 2;
    }
    const QString source = arguments.at(1);
    g_corpus = arguments.at(2);
    InstallRenderer();
    WriteProjects(source);
    WriteRtfSeeds(source);
    WriteDecoderSeeds(source);
    WriteFirmwareSeeds(source);
    WriteFrameSeeds();
    WriteScheduleSeeds();
    std::printf("%d seed files in %s\n", g_written, qPrintable(g_corpus));
    return 0;
}
