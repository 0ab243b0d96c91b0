#pragma once

#include "comm/firmware_update.h"

class CControllerLink;
class CScreen;
class IOperationUi;

// The firmware update's view of a screen's controller link.
class CFirmwareUpdateLink final : public IFirmwareLink
{
public:
    explicit CFirmwareUpdateLink(CControllerLink& link) : m_link(link) {}

    bool ReadParameters() override;
    std::array<std::uint8_t, 5> Identity() const override;
    bool IsNetworkLink() const override;
    bool QueryFirmware(std::uint8_t& reply) override;
    bool OpenLink() override;
    void CloseLink() override;
    bool SendChunk(std::uint32_t offset, std::span<const std::uint8_t> bytes) override;
    bool SwitchFirmwareMode(bool on) override;
    QString ErrorText() const override;

private:
    CControllerLink& m_link;
};

// The update of the screen's controller with the package, its status lines and messages
// shown through the interface (the bar follows the percentage). failureText receives what
// went wrong: the message or the last status line. True when every chunk arrived and the
// controller switched to the new firmware.
bool UpdateFirmware(CScreen& screen, IOperationUi& ui, const QString& packagePath,
                    const QString& password, int pkgSetting, QString* failureText = nullptr);
