#include "comm/send_pipeline.h"

#include "base/app_settings.h"
#include "base/last_error.h"
#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/controller_link.h"
#include "comm/delivery_receipts.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/serial_devices.h"
#include "render/byte_buffer.h"
#include "render/compile_screen.h"

#include <QCryptographicHash>

#include <algorithm>
#include <atomic>

namespace {

// Progress texts and messages.
constexpr int kTextProcessing = 41043;
constexpr int kTextCreating = 41044;
constexpr int kTextBuilding = 41045;
constexpr int kTextSending = 41046;
constexpr int kTextFinish = 41047;
constexpr int kTextSucceed = 41048;
constexpr int kTextCanceled = 41052;
constexpr int kAskOverlap = 41068;
constexpr int kTextEmpty = 41069;
constexpr int kTextNoScreen = 41091;
constexpr int kTextCommandFailed = 43027;
constexpr int kTextFailedOnSend = 43008;
constexpr int kAskRetry = 43036;
constexpr int kTextWaitingForEnd = 61403;
constexpr int kTextSendingAgain = 61401;
constexpr int kTextNotConfirmed = 61402;
constexpr int kTextFailureList = 43039;

// Bar positions of the stages.
constexpr int kPosStart = 1;
constexpr int kPosCreating = 10;
constexpr int kPosBuilding = 30;
constexpr int kPosStream = 40;
constexpr int kStreamSpan = 40;
constexpr int kPosFinish = 80;
constexpr int kPosDone = 90;

// The link kind of a network (UDP) link.
constexpr int kLinkNetwork = 1;

void Wait(int milliseconds)
{
    if (milliseconds > 0)
        PumpedWait(milliseconds);
}

QString CommandFailed(const CControllerLink& link)
{
    return LoadString(kTextCommandFailed) + link.GetErrorText();
}

// The screen's own link settings are kept aside for the send, so that a reply from some
// other address cannot redirect the rest of the transfer (or the settings saved later).
class CAddressGuard
{
public:
    explicit CAddressGuard(CScreen& screen) : m_screen(screen) {}
    void Pin() { m_pinned = m_screen.Link().remoteIp, m_active = true; }
    // True when the last exchange changed the address; the pinned one is put back.
    bool Restore()
    {
        if (!m_active || m_screen.Link().linkKind != kLinkNetwork ||
            m_screen.Link().remoteIp == m_pinned)
            return false;
        m_screen.Link().remoteIp = m_pinned;
        return true;
    }

private:
    CScreen& m_screen;
    QString m_pinned;
    bool m_active = false;
};

// One screen's face among several shown in one place: its messages and questions start
// with its name.
class CNamedScreenUi final : public IOperationUi
{
public:
    CNamedScreenUi(IOperationUi& ui, const QString& name)
        : m_ui(ui), m_prefix(name + QStringLiteral(": "))
    {}
    void SetRange(int maximum) override { m_ui.SetRange(maximum); }
    bool Update(int position, const QString& text) override { return m_ui.Update(position, text); }
    Answer Ask(const QString& text) override { return m_ui.Ask(m_prefix + text); }
    void Inform(const QString& text) override { m_ui.Inform(m_prefix + text); }
    void Warn(const QString& text) override { m_ui.Warn(m_prefix + text); }
    void Beep(MessageKind kind) override { m_ui.Beep(kind); }

private:
    IOperationUi& m_ui;
    QString m_prefix;
};

// "UDP 192.168.1.252:5959" or "/dev/ttyUSB0 57600".
QString LinkText(const LinkSettings& link)
{
    if (link.Kind() == LinkKind::Network)
        return QStringLiteral("UDP %1:%2").arg(link.remoteIp.trimmed()).arg(link.remotePort);
    if (link.comPort == 0)
        return QStringLiteral("COM0");
    return QStringLiteral("%1 %2").arg(SerialDevicePath(link.comPort)).arg(link.baudRate);
}

// The screen's place among the project's screens, from 1.
int ScreenNumber(const CProjectObject& root, const CScreen& screen)
{
    int number = 0;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        const CProjectObject* child = root.GetChild(i);
        if (!child || child->GetKind() != KindScreen)
            continue;
        ++number;
        if (child == &screen)
            return number;
    }
    return 0;
}

} // namespace

CSendPipeline::CSendPipeline(SendOptions options) : m_options(options) {}

int CSendPipeline::ChunkSizeFor(int pkg, int linkKind)
{
    int size = (pkg == 64 || pkg == 128 || pkg == 256) ? pkg : 128;
    if (linkKind == kLinkNetwork && size < 256)
        size = 256;
    return size;
}

int CSendPipeline::ProgressPosition(std::uint64_t offset, std::uint64_t total)
{
    if (total == 0)
        return kPosStream;
    return kPosStream + static_cast<int>((kStreamSpan * offset + kStreamSpan) / total);
}

std::vector<SendChunk> CSendPipeline::PlanChunks(std::uint64_t total, int chunkSize)
{
    std::vector<SendChunk> chunks;
    if (chunkSize <= 0)
        return chunks;
    for (std::uint64_t offset = 0; offset < total; offset += static_cast<std::uint64_t>(chunkSize))
        chunks.push_back({static_cast<std::uint32_t>(offset),
                          static_cast<int>(std::min<std::uint64_t>(chunkSize, total - offset))});
    return chunks;
}

bool CSendPipeline::Progress(IOperationUi& ui, int position, const QString& text)
{
    m_lastPosition = position;
    if (ui.Update(position, text)) {
        // Cancel stops this send and every screen after it.
        m_cancelled = true;
        m_abortAll = true;
    }
    return m_cancelled;
}

void CSendPipeline::Fail(IOperationUi& ui, const QString& text)
{
    m_failureText = text;
    if (!m_messageShown) {
        m_messageShown = true;
        ui.Warn(text);
    }
}

bool CSendPipeline::StreamData(CControllerLink& link, const std::uint8_t* data, std::size_t total,
                               int chunkSize, IOperationUi& ui)
{
    if (chunkSize <= 0 || !data)
        return false;
    CScreen& screen = link.Screen();
    CAddressGuard guard(screen);
    guard.Pin();
    const bool serial = screen.Link().linkKind != kLinkNetwork;
    const QString sending = LoadString(kTextSending);
    std::uint64_t offset = 0;
    bool result = false;
    int retries = 0;
    while (offset < total) {
        if (CommCancelled()) {
            m_cancelled = true;
            m_abortAll = true;
        }
        const int position = ProgressPosition(offset, total);
        if (m_cancelled || Progress(ui, position, sending)) {
            ui.Update(position, LoadString(kTextCanceled));
            m_failureText = LoadString(kTextCanceled);
            result = false;
            break;
        }
        const int length = static_cast<int>(std::min<std::uint64_t>(chunkSize, total - offset));
        bool sent = link.SendDataChunk(static_cast<std::uint32_t>(offset), data + offset, length);
        QString error = link.GetErrorText();
        if (guard.Restore()) {
            // Someone else answered: the chunk is not known to have arrived.
            sent = false;
            error = LoadString(kTextFailedOnSend);
        }
        if (sent) {
            offset += static_cast<std::uint64_t>(length);
            result = true;
            retries = 0;
        } else {
            result = false;
            if (CommCancelled()) {
                // The wait was cancelled: no point asking whether to try again.
                continue;
            }
            const QString question = LoadString(kAskRetry)
                                         .replace(QStringLiteral("%d"), QString::number(offset))
                                         .replace(QStringLiteral("%s"), error);
            m_failureText = question;
            m_messageShown = true;
            ui.Beep(MessageKind::Warning);
            const bool limitReached = m_options.retryLimit >= 0 && retries >= m_options.retryLimit;
            const Answer answer = ui.Ask(question);
            if (answer == Answer::No || limitReached)
                break;
            ++retries;
        }
        if (serial)
            Wait(m_options.serialPauseMs);
    }
    return result && offset >= total;
}

void CSendPipeline::Render(CScreen& screen, RenderForm form)
{
    if (m_options.rendering)
        m_options.rendering->Prepare(screen, form);
    else
        screen.Prepare(form);
}

bool CSendPipeline::Compile(CScreen& screen, CByteBuffer& buffer, QString& reason)
{
    if (m_options.rendering)
        return m_options.rendering->Compile(screen, buffer, reason);
    ClearLastError();
    const bool compiled = WriteData(screen, buffer);
    reason = LastError();
    return compiled;
}

bool CSendPipeline::Transfer(CScreen& screen, CControllerLink& link, IOperationUi& ui)
{
    const int chunkSize = ChunkSizeFor(
        m_options.chunkSize > 0 ? m_options.chunkSize : Settings().pkg, screen.Link().linkKind);
    Progress(ui, kPosStart, LoadString(kTextProcessing));

    if (!link.ReadParams()) {
        Fail(ui, CommandFailed(link));
        return false;
    }
    // From here on the controller's address is the one it answered from.
    CAddressGuard guard(screen);
    guard.Pin();

    Progress(ui, kPosCreating, LoadString(kTextCreating));
    Render(screen, RenderForm::Controller);

    Progress(ui, kPosBuilding, LoadString(kTextBuilding));
    CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
    QString reason;
    const bool compiled = Compile(screen, buffer, reason);
    // Whatever happens next, the editor gets its own rendering back.
    auto renderForEditor = [&] { Render(screen, RenderForm::Display); };
    if (!compiled || buffer.IsEmpty()) {
        renderForEditor();
        Fail(ui, !compiled && !reason.isEmpty() ? reason : LoadString(kTextEmpty));
        return false;
    }

    const QString sending = LoadString(kTextSending);
    if (Progress(ui, kPosBuilding, sending)) {
        renderForEditor();
        ui.Update(kPosBuilding, LoadString(kTextCanceled));
        m_failureText = LoadString(kTextCanceled);
        return false;
    }
    const std::size_t total = buffer.Length();
    m_sentBytes = static_cast<qint64>(total);
    m_sentDigest =
        QCryptographicHash::hash(QByteArrayView(buffer.Data(), static_cast<qsizetype>(total)),
                                 QCryptographicHash::Sha256)
            .toHex();
    bool renderedForEditor = false;
    // A second round only when the card left it open whether it holds the screen.
    for (int round = 0;; ++round) {
        if (!link.BeginData(static_cast<std::uint32_t>(total))) {
            guard.Restore();
            if (!renderedForEditor)
                renderForEditor();
            Fail(ui, CommandFailed(link));
            return false;
        }
        guard.Restore();
        Progress(ui, kPosStream, sending);

        const bool streamed = StreamData(link, buffer.Data(), total, chunkSize, ui);
        if (streamed)
            Progress(ui, kPosFinish, LoadString(kTextFinish));
        if (!renderedForEditor) {
            renderForEditor();
            renderedForEditor = true;
        }
        Wait(m_options.endWaitMs);
        if (!streamed) {
            // The controller may have stopped answering: one attempt, and say what it is for.
            ui.Update(m_lastPosition, LoadString(kTextWaitingForEnd));
            link.EndDataOnce(false);
            guard.Restore();
            return false;
        }

        const EndAnswer answer = link.EndComplete();
        guard.Restore();
        switch (answer) {
        case EndAnswer::Stored:
            m_failureText.clear();
            ui.Update(kPosDone, LoadString(kTextSucceed));
            ui.Beep(MessageKind::Information);
            return true;
        case EndAnswer::Cancelled:
            m_cancelled = true;
            m_abortAll = true;
            ui.Update(m_lastPosition, LoadString(kTextCanceled));
            m_failureText = LoadString(kTextCanceled);
            return false;
        case EndAnswer::Rejected:
            // The card has not got the screen, whatever it acknowledged before.
            Fail(ui, CommandFailed(link));
            return false;
        case EndAnswer::Unsure:
            break;
        }
        if (round > 0) {
            Fail(ui, LoadString(kTextCommandFailed) +
                         LoadString(kTextNotConfirmed)
                             .replace(QStringLiteral("%s"), link.GetErrorText()));
            return false;
        }
        // Whether the card holds the screen is known only from a transfer it ends with a
        // success: the data goes once more, from a new begin.
        if (Progress(ui, kPosStream, LoadString(kTextSendingAgain))) {
            ui.Update(kPosStream, LoadString(kTextCanceled));
            m_failureText = LoadString(kTextCanceled);
            return false;
        }
    }
}

bool CSendPipeline::SendScreen(CScreen& screen, IOperationUi& ui)
{
    // Where the screen's link points now, before a reply can teach it another address.
    const QString linkText = LinkText(screen.Link());
    const int identified = LinkOf(screen).IdentifyCount();
    const bool sent = Deliver(screen, ui);
    RecordDelivery(screen, ui, sent, linkText, identified);
    return sent;
}

void CSendPipeline::RecordDelivery(CScreen& screen, IOperationUi& ui, bool sent,
                                   const QString& linkText, int identifiedBefore)
{
    DeliveryReceipt receipt;
    receipt.time = QDateTime::currentDateTimeUtc();
    const CProjectObject* root = &screen;
    while (root->Parent())
        root = root->Parent();
    if (root->GetKind() == KindRoot)
        receipt.projectFile =
            DeliveryProjectPath(static_cast<const CProjectRoot*>(root)->ProjectPath());
    receipt.screenName = screen.GetName();
    receipt.screenNumber = ScreenNumber(*root, screen);
    receipt.link = linkText;
    CControllerLink& link = LinkOf(screen);
    if (link.IdentifyCount() != identifiedBefore) {
        const CModelInfo model = link.ModelInfo();
        receipt.cardModel = model.GetName();
        receipt.cardVersion = model.GetVersionText();
    }
    receipt.bytes = m_sentBytes;
    receipt.sha256 = m_sentDigest;
    if (sent)
        receipt.result = DeliveryResult::Ok;
    else if (m_cancelled || CommCancelled())
        receipt.result = DeliveryResult::Cancelled;
    else
        receipt.result = DeliveryResult::Failed;
    if (receipt.result == DeliveryResult::Cancelled)
        receipt.error = LoadString(kTextCanceled);
    else if (!sent)
        receipt.error = m_failureText;

    CDeliveryStore store(m_options.deliveryStore.isEmpty() ? CDeliveryStore::DefaultPath()
                                                           : m_options.deliveryStore);
    if (store.Append(receipt))
        return;
    // The send stands; the person hears of the store once.
    static std::atomic<bool> s_told{false};
    if (!s_told.exchange(true))
        ui.Warn(store.LastError());
}

bool CSendPipeline::Deliver(CScreen& screen, IOperationUi& ui)
{
    m_cancelled = false;
    m_messageShown = false;
    m_failureText.clear();
    m_sentBytes = 0;
    m_sentDigest.clear();
    ui.SetRange(kProgressRange);

    QString names;
    if (screen.FindOverlap(names)) {
        const QString question = LoadString(kAskOverlap).replace(QStringLiteral("%s"), names);
        if (ui.Ask(question) == Answer::Yes) {
            // The person stopped the send to edit the zones.
            m_cancelled = true;
            m_failureText = question;
            return false;
        }
    }

    CControllerLink& link = LinkOf(screen);
    Wait(m_options.linkWaitMs);
    if (!link.OpenLink()) {
        Wait(m_options.linkWaitMs);
        link.CloseLink();
        // A link that cannot be opened is a failed send.
        Fail(ui, CommandFailed(link));
        return false;
    }
    Wait(m_options.linkWaitMs);
    const bool result = Transfer(screen, link, ui);
    // A cancel that ended a command's wait stops Send All as well.
    if (!result && CommCancelled())
        m_abortAll = true;
    Wait(m_options.linkWaitMs);
    link.CloseLink();
    Wait(m_options.linkWaitMs);
    return result;
}

SendAllResult CSendPipeline::SendAll(CProjectRoot& root, IOperationUi& ui)
{
    SendAllResult outcome;
    m_abortAll = false;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        CProjectObject* child = root.GetChild(i);
        if (!child || child->GetKind() != KindScreen)
            continue;
        auto& screen = static_cast<CScreen&>(*child);
        if (!screen.GetSelected())
            continue;
        ++outcome.marked;
        CNamedScreenUi named(ui, screen.GetName());
        if (SendScreen(screen, m_options.namedMessages ? static_cast<IOperationUi&>(named) : ui)) {
            ++outcome.succeeded;
            continue;
        }
        if (m_abortAll) {
            outcome.aborted = true;
            break;
        }
        outcome.failed.append(screen.GetName());
        outcome.failureList += QStringLiteral("'%1', ").arg(screen.GetName());
    }
    if (outcome.marked == 0) {
        ui.Warn(LoadString(kTextNoScreen));
    } else if (!outcome.failureList.isEmpty() && root.GetChildCount() > 1) {
        ui.Warn(LoadString(kTextFailureList).replace(QStringLiteral("%s"), outcome.failureList));
    }
    return outcome;
}
