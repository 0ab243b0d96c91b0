#include "comm/firmware_update.h"

#include "base/messages.h"
#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/firmware_package.h"

namespace {

constexpr int kCommandFailed = 43027; // "Command failed:"
constexpr int kSendFailed = 43008;    // "Failed on send data."
constexpr int kProcessing = 41060;    // "Processing: %d%%..."
constexpr int kWaiting = 41079;       // "Waiting..."
constexpr int kFinished = 41080;      // "Finish."
constexpr int kCanceled = 41052;      // "Canceled."
constexpr int kSerialChunkPauseMs = 20;

QString Hex(std::uint8_t value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}

// After "Bad file.": the model the package is for and the controller's, when the package
// opens but was made for another controller.
QString OtherModelDetail(const QString& path, const QString& password,
                         const std::array<std::uint8_t, 5>& identity)
{
    CFirmwarePackage probe;
    int messageId = 0;
    if (!CFirmwarePackage::LoadFile(path, password, std::nullopt, probe, messageId))
        return {};
    const FirmwareTarget controller = FirmwareTarget::FromIdentity(identity);
    return QStringLiteral(" The package is for model %1 variant %2; the controller is model %3 "
                          "variant %4.")
        .arg(Hex(probe.Model()), Hex(probe.Variant()), Hex(controller.model),
             Hex(controller.variant));
}

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
        QString text = LoadString(messageId);
        if (messageId == CFirmwarePackage::MessageBadFile)
            text += OtherModelDetail(path, password, link.Identity());
        ShowWarning(text);
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
    bool cancelled = false;
    for (const FirmwareChunk& chunk :
         streamed ? package.Chunks(chunkSize) : std::vector<FirmwareChunk>()) {
        if (CommCancelled()) {
            cancelled = true;
            streamed = false;
            break;
        }
        if (!link.SendChunk(chunk.offset, chunk.bytes)) {
            cancelled = CommCancelled();
            if (!cancelled)
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
    if (cancelled) {
        // The mode is switched back off as after a failed stream; that command must not be
        // cancelled in turn.
        SetCommCancel(false);
        link.SwitchFirmwareMode(false);
        view.SetStatus(LoadString(kCanceled));
        SetCommCancel(true);
        return false;
    }

    if (!link.SwitchFirmwareMode(streamed)) {
        view.SetStatus(FirmwareSendFailedText(link.ErrorText()));
        return false;
    }
    view.SetStatus(LoadString(kWaiting));
    view.Wait(int(FirmwareSettleTimeMs(length)));
    view.SetStatus(LoadString(kFinished));
    return streamed;
}
