#include "comm/firmware_update.h"

#include "base/messages.h"
#include "base/string_table.h"
#include "comm/firmware_package.h"

namespace {

constexpr int kCommandFailed = 43027; // "Command failed:"
constexpr int kSendFailed = 43008;    // "Failed on send data."
constexpr int kProcessing = 41060;    // "Processing: %d%%..."
constexpr int kWaiting = 41079;       // "Waiting..."
constexpr int kFinished = 41080;      // "Finish."
constexpr int kSerialChunkPauseMs = 20;

std::uint8_t RandomByte(const FirmwareRandom& random)
{
    return std::uint8_t(random ? random() : 0);
}

FirmwareCommandFields FieldsFor(std::uint8_t c, const FirmwareRandom& random)
{
    FirmwareCommandFields fields;
    fields.param1 = c;
    fields.param2 = std::uint8_t(170 - c);
    const std::uint8_t a = RandomByte(random);
    const std::uint8_t d = RandomByte(random);
    fields.payload = {a, std::uint8_t(85 - a), d, std::uint8_t(d + 85)};
    return fields;
}

} // namespace

int FirmwareChunkSize(int pkgSetting, bool networkLink)
{
    int size = (pkgSetting == 64 || pkgSetting == 128 || pkgSetting == 256) ? pkgSetting : 128;
    if (networkLink && size < 256)
        size = 256;
    return size;
}

QString FirmwareProgressText(qint64 offset, qint64 length)
{
    const qint64 percent = length > 0 ? offset * 100 / length : 0;
    return QString::asprintf(LoadString(kProcessing).toUtf8().constData(), int(percent));
}

qint64 FirmwareSettleTimeMs(qint64 length)
{
    return 1000 + (length > 0 ? length / 20 : 0);
}

QString FirmwareSendFailedText(const QString& error)
{
    return LoadString(kSendFailed) + error;
}

FirmwareCommandFields FirmwareQueryFields(const FirmwareRandom& random)
{
    const std::uint8_t c = RandomByte(random);
    return FieldsFor(c, random);
}

FirmwareCommandFields FirmwareModeSwitchFields(bool on, const FirmwareRandom& random)
{
    const int value = random ? random() : 0;
    const int drawn = (value < 0 ? -value : value) % 49;
    return FieldsFor(std::uint8_t(on ? drawn + 100 : drawn), random);
}

bool RunFirmwareUpdate(IFirmwareLink& link, IFirmwareUpdateView& view, const QString& path,
                       const QString& password, int pkgSetting)
{
    if (!link.ReadParameters()) {
        ShowWarning(LoadString(kCommandFailed) + link.ErrorText());
        return false;
    }
    CFirmwarePackage package;
    int messageId = 0;
    if (!CFirmwarePackage::Load(path, password, link.Identity(), package, messageId)) {
        ShowWarning(LoadString(messageId));
        return false;
    }
    const bool network = link.IsNetworkLink();
    const int chunkSize = FirmwareChunkSize(pkgSetting, network);

    std::uint8_t reply = 0;
    if (!link.QueryFirmware(reply)) {
        view.SetStatus(FirmwareSendFailedText(link.ErrorText()));
        return false;
    }
    package.Scramble(reply);

    bool streamed = link.OpenLink();
    if (!streamed)
        view.SetStatus(FirmwareSendFailedText(link.ErrorText()));
    for (const FirmwareChunk& chunk :
         streamed ? package.Chunks(chunkSize) : std::vector<FirmwareChunk>()) {
        if (!link.SendChunk(chunk.offset, chunk.bytes)) {
            view.SetStatus(FirmwareSendFailedText(link.ErrorText()));
            streamed = false;
            break;
        }
        view.SetStatus(FirmwareProgressText(qint64(chunk.offset) + qint64(chunk.bytes.size()),
                                            package.Length()));
        if (!network)
            view.Wait(kSerialChunkPauseMs);
    }
    link.CloseLink();
    const qint64 length = package.Length();
    package.Clear();

    if (!link.SwitchFirmwareMode(streamed)) {
        view.SetStatus(FirmwareSendFailedText(link.ErrorText()));
        return false;
    }
    view.SetStatus(LoadString(kWaiting));
    view.Wait(int(FirmwareSettleTimeMs(length)));
    view.SetStatus(LoadString(kFinished));
    return streamed;
}
