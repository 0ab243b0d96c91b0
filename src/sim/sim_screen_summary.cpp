#include "sim/sim_screen_summary.h"

#include "model/controller_params.h"
#include "render/decode_screen.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QPainter>

namespace {

QJsonObject ZoneJson(const DecodedZone& zone)
{
    QJsonObject json;
    json.insert(QStringLiteral("kind"), zone.kind);
    json.insert(QStringLiteral("pages"), zone.pageCount);
    json.insert(QStringLiteral("hold"), zone.hold);
    json.insert(QStringLiteral("action"), zone.Action());
    json.insert(QStringLiteral("speed"), zone.Speed());
    QJsonArray holds;
    for (const DecodedPage& page : zone.pages)
        holds.append(page.hold);
    json.insert(QStringLiteral("pageHolds"), holds);
    return json;
}

QJsonObject WindowJson(const DecodedWindow& window)
{
    QJsonObject json;
    json.insert(QStringLiteral("rect"),
                QJsonArray{window.left, window.top, window.left + window.width,
                           window.top + window.height});
    json.insert(QStringLiteral("frameCode"), window.frameCode);
    QJsonArray zones;
    for (const DecodedZone& zone : window.zones)
        zones.append(ZoneJson(zone));
    json.insert(QStringLiteral("zones"), zones);
    return json;
}

QJsonObject ProgramJson(const DecodedProgram& program)
{
    QJsonObject json;
    json.insert(QStringLiteral("playTime"), program.playTime);
    json.insert(QStringLiteral("playMode"), program.playMode);
    json.insert(QStringLiteral("weekdays"), program.weekdays);
    json.insert(QStringLiteral("firstDay"), program.firstDay);
    json.insert(QStringLiteral("lastDay"), program.lastDay);
    json.insert(QStringLiteral("startTime"), program.startTime);
    json.insert(QStringLiteral("endTime"), program.endTime);
    json.insert(QStringLiteral("borderThickness"), program.border.thickness);
    QJsonArray windows;
    for (const DecodedWindow& window : program.windows)
        windows.append(WindowJson(window));
    json.insert(QStringLiteral("windows"), windows);
    return json;
}

QImage ProgramPicture(const DecodedProgram& program, int width, int height)
{
    QImage picture(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    for (const DecodedWindow& window : program.windows) {
        for (const DecodedZone& zone : window.zones) {
            if (!zone.pages.empty() && !zone.pages.front().image.isNull()) {
                painter.drawImage(window.left, window.top, zone.pages.front().image);
                break;
            }
        }
    }
    return picture;
}

} // namespace

bool DescribeScreenData(const std::vector<std::uint8_t>& data, const ControllerParams& params,
                        const QString& folder, QJsonObject& summary)
{
    DecodedScreen screen;
    QString error;
    const QByteArray bytes(reinterpret_cast<const char*>(data.data()),
                           static_cast<qsizetype>(data.size()));
    if (!DecodeScreenData(bytes, params.ColourDepth(), params.U8(ControllerParams::DataPolarity),
                          screen, error)) {
        summary.insert(QStringLiteral("decoded"), false);
        summary.insert(QStringLiteral("decodeError"), error);
        return false;
    }
    QJsonArray programs;
    for (const DecodedProgram& program : screen.programs)
        programs.append(ProgramJson(program));
    summary.insert(QStringLiteral("programs"), programs);
    summary.insert(QStringLiteral("decoded"), true);
    if (!folder.isEmpty()) {
        const QDir dir(folder);
        for (size_t i = 0; i < screen.programs.size(); ++i) {
            const QImage picture =
                ProgramPicture(screen.programs[i], params.PanelWidth(), params.PanelHeight());
            picture.save(dir.filePath(QStringLiteral("program-%1.png").arg(i + 1)), "PNG");
        }
    }
    return true;
}
