#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <span>

// The firmware update of one controller, written against the small part of the
// controller link it needs so that every step can run without a controller.

// What the update asks of the screen's controller link.
class IFirmwareLink
{
public:
    virtual ~IFirmwareLink() = default;
    // Read parameters (command 33, through Transact).
    virtual bool ReadParameters() = 0;
    // The identify reply of the last transaction (model code, variant, version).
    virtual std::array<std::uint8_t, 5> Identity() const = 0;
    virtual bool IsNetworkLink() const = 0;
    // Firmware query (command 202, through Transact): one reply byte.
    virtual bool QueryFirmware(std::uint8_t& reply) = 0;
    virtual bool OpenLink() = 0;
    virtual void CloseLink() = 0;
    // Data chunk (command 19, through Exchange, no reply payload) to the controller's panel
    // ID: the 32-bit little-endian offset followed by the bytes.
    virtual bool SendChunk(std::uint32_t offset, std::span<const std::uint8_t> bytes) = 0;
    // Firmware mode switch (command 203, through Transact).
    virtual bool SwitchFirmwareMode(bool on) = 0;
    // The screen's last error text.
    virtual QString ErrorText() const = 0;
};

// Where the update shows its progress: the status line of the dialog, and a wait that
// keeps the window responsive.
class IFirmwareUpdateView
{
public:
    virtual ~IFirmwareUpdateView() = default;
    virtual void SetStatus(const QString& text) = 0;
    virtual void Wait(int milliseconds) = 0;
};

// Chunk size of the stream: the "pkg" setting (64, 128 or 256; any other value counts as
// 128), raised to 256 on a network link.
int FirmwareChunkSize(int pkgSetting, bool networkLink);

// 41060 "Processing: %d%%..." with offset × 100 ÷ length (0 for an empty length).
QString FirmwareProgressText(qint64 offset, qint64 length);

// The time the controller is given to write the image after the mode switch: 1000 ms and
// then length ÷ 20 ms more.
qint64 FirmwareSettleTimeMs(qint64 length);

// "Failed on send data." followed directly by an error text.
QString FirmwareSendFailedText(const QString& error);

// param1, param2 and the 4-byte payload of commands 202 and 203: param1 + param2 = 0xAA and
// each payload pair differs by 0x55 (a, 85 - a, d, d + 85, modulo 256).
struct FirmwareCommandFields
{
    std::uint8_t param1 = 0;
    std::uint8_t param2 = 0;
    std::array<std::uint8_t, 4> payload{};
};

// random yields values from 0 to 32767; it is asked for c, then a, then d.
using FirmwareRandom = std::function<int()>;
// Command 202: c is any random byte.
FirmwareCommandFields FirmwareQueryFields(const FirmwareRandom& random);
// Command 203: c is 100-148 when switching on and 0-48 when switching off.
FirmwareCommandFields FirmwareModeSwitchFields(bool on, const FirmwareRandom& random);

// The whole update as started from the dialog: read parameters, load and check the package
// (messages through ShowMessage), query, scramble, stream, switch the mode on (all chunks
// sent) or off, and wait. True when every chunk arrived and the mode switch succeeded.
[[nodiscard]] bool RunFirmwareUpdate(IFirmwareLink& link, IFirmwareUpdateView& view,
                                     const QString& path, const QString& password, int pkgSetting);
