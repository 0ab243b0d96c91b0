#include "comm/firmware_update_link.h"

#include "base/messages.h"
#include "base/operation_ui.h"
#include "comm/comm_port.h"
#include "comm/controller_link.h"
#include "model/screen.h"

#include <QRegularExpression>

bool CFirmwareUpdateLink::ReadParameters()
{
    return m_link.ReadParams();
}

std::array<std::uint8_t, 5> CFirmwareUpdateLink::Identity() const
{
    return m_link.Screen().Identity();
}

bool CFirmwareUpdateLink::IsNetworkLink() const
{
    return m_link.Screen().Link().linkKind == 1;
}

bool CFirmwareUpdateLink::QueryFirmware(std::uint8_t& reply)
{
    return m_link.FirmwareQuery(reply);
}

bool CFirmwareUpdateLink::OpenLink()
{
    return m_link.OpenLink();
}

void CFirmwareUpdateLink::CloseLink()
{
    m_link.CloseLink();
}

bool CFirmwareUpdateLink::SendChunk(std::uint32_t offset, std::span<const std::uint8_t> bytes)
{
    return m_link.SendDataChunk(offset, bytes.data(), static_cast<int>(bytes.size()));
}

bool CFirmwareUpdateLink::SwitchFirmwareMode(bool on)
{
    return m_link.FirmwareSwitch(on);
}

QString CFirmwareUpdateLink::ErrorText() const
{
    return m_link.GetErrorText();
}

namespace {

// Status lines go to the interface: the bar at the percentage of a progress line.
class OperationView final : public IFirmwareUpdateView
{
public:
    explicit OperationView(IOperationUi& ui) : m_ui(ui) { m_ui.SetRange(100); }

    void SetStatus(const QString& text) override
    {
        static const QRegularExpression kPercent(QStringLiteral("(\\d+)%"));
        const auto match = kPercent.match(text);
        if (match.hasMatch())
            m_position = match.captured(1).toInt();
        m_lastStatus = text;
        if (text.startsWith(FirmwareSendFailedText(QString())))
            m_lastFailure = text;
        m_ui.Update(m_position, text);
        PumpEvents();
    }
    void Wait(int milliseconds) override { PumpedWait(milliseconds); }

    QString m_lastStatus;
    QString m_lastFailure;

private:
    IOperationUi& m_ui;
    int m_position = 0;
};

// The update's messages go to the interface for the length of the update.
class MessagesToUi final : public IMessageSink
{
public:
    explicit MessagesToUi(IOperationUi& ui) : m_ui(ui), m_previous(GetMessageSink())
    {
        SetMessageSink(this);
    }
    ~MessagesToUi() override { SetMessageSink(m_previous); }
    void Show(const QString& text, const QString&, MessageKind kind) override
    {
        m_lastMessage = text;
        if (kind == MessageKind::Information)
            m_ui.Inform(text);
        else
            m_ui.Warn(text);
    }

    QString m_lastMessage;

private:
    IOperationUi& m_ui;
    IMessageSink* m_previous;
};

} // namespace

bool UpdateFirmware(CScreen& screen, IOperationUi& ui, const QString& packagePath,
                    const QString& password, int pkgSetting, QString* failureText)
{
    CFirmwareUpdateLink link(LinkOf(screen));
    OperationView view(ui);
    MessagesToUi messages(ui);
    const bool ok = RunFirmwareUpdate(link, view, packagePath, password, pkgSetting);
    if (!ok && failureText) {
        if (!messages.m_lastMessage.isEmpty())
            *failureText = messages.m_lastMessage;
        else if (!view.m_lastFailure.isEmpty())
            *failureText = view.m_lastFailure;
        else
            *failureText = view.m_lastStatus;
    }
    return ok;
}
