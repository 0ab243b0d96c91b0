#pragma once

#include "model/controller_params.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

// Faults the simulator can play, per command code.
struct SimFaults
{
    // A range of request numbers of one command (from 1); last 0: no end.
    struct Range
    {
        int first = 1;
        int last = 0;
        bool Holds(int number) const { return number >= first && (last == 0 || number <= last); }
    };
    std::map<int, std::vector<Range>> drop; // command -> requests left unanswered
    int delayMs = 0;                        // every reply goes out this long after its request
    // command -> the request number at which the card restarts: it forgets an unfinished
    // transfer, and answers nothing (not that request either) for restartMs.
    std::map<int, int> restart;
    int restartMs = 300;
    std::map<int, int> status;    // command -> status answered instead of acting
    std::set<int> badChecksum;    // commands whose replies carry a wrong checksum
    std::map<int, int> wrongSize; // command -> reply payload size sent instead
    bool legacyProbe = false;     // answer the previous generation's probe
};

// The controller's side of the protocol: checks every request as a card does, keeps the
// parameter block, the clock and the identity, assembles screen data and firmware, and
// builds the replies.
class CSimController
{
public:
    static constexpr int kMaxRequest = 2048;
    static constexpr int kLegacyProbeSize = 52;
    static constexpr std::uint32_t kMaxScreenData = 16u << 20;
    static constexpr std::uint32_t kMaxFirmware = 4u << 20;

    CSimController();

    void SetIdentity(const std::array<std::uint8_t, 5>& identity) { m_identity = identity; }
    const std::array<std::uint8_t, 5>& Identity() const { return m_identity; }
    void SetPanelId(int panelId);
    // The folder for the received data; the parameter block is read back from it.
    void SetStateFolder(const QString& folder);
    SimFaults& Faults() { return m_faults; }
    // Without logging, answered requests leave `log` empty (for measurements).
    void SetLogging(bool logging) { m_logging = logging; }
    ControllerParams& Params() { return m_params; }
    qint64 ClockSeconds() const;
    const std::vector<std::uint8_t>& ScreenData() const { return m_lastScreen; }
    const std::vector<std::uint8_t>& Firmware() const { return m_firmware; }

    // Handles one received frame. True when a reply is due (in `reply`); `log` gets one
    // line describing what happened.
    bool Handle(const std::uint8_t* bytes, int length, std::vector<std::uint8_t>& reply,
                QString& log);

    static bool IsLegacyProbe(const std::uint8_t* bytes, int length);
    static std::vector<std::uint8_t> LegacyReply();

private:
    int Execute(int command, int param1, int param2, const std::vector<std::uint8_t>& payload,
                std::vector<std::uint8_t>& replyPayload, QString& note);
    int DataChunk(const std::vector<std::uint8_t>& payload, QString& note);
    int EndData(int param1, QString& note);
    int FirmwareCommand(int command, int param1, int param2,
                        const std::vector<std::uint8_t>& payload,
                        std::vector<std::uint8_t>& replyPayload, QString& note);
    void SaveParams() const;
    void SaveScreen();
    void SaveFirmware() const;
    QJsonObject Summary() const;

    // Restarts the card: what only lives in its memory is gone.
    void Restart();

    ControllerParams m_params;
    std::array<std::uint8_t, 5> m_identity{0x91, 0x01, 0, 5, 1};
    qint64 m_clockBase = 0;
    QElapsedTimer m_clockTimer;
    QString m_folder;
    SimFaults m_faults;
    std::map<int, int> m_requestCounts;
    bool m_logging = true;
    // While restarting, nothing is answered.
    QElapsedTimer m_restarting;

    // Screen data being received.
    bool m_transferActive = false;
    std::uint32_t m_largestProgramBuffer = 0;
    std::vector<std::uint8_t> m_data;
    std::vector<bool> m_received;
    std::uint32_t m_receivedCount = 0;
    int m_chunks = 0;
    // The last complete screen data.
    std::vector<std::uint8_t> m_lastScreen;
    int m_lastChunks = 0;
    std::uint32_t m_lastLargestBuffer = 0;
    bool m_cleared = false;

    // Firmware update.
    bool m_firmwareMode = false;
    std::uint8_t m_firmwareKey = 0;
    std::vector<std::uint8_t> m_firmware;
};

// Cuts a serial byte stream into frames, resynchronising after garbage.
class CSimStream
{
public:
    // Appends received bytes; frames found are handed to the controller, replies collected.
    void Feed(const std::uint8_t* bytes, int length, CSimController& controller,
              std::vector<std::vector<std::uint8_t>>& replies, QStringList& log);
    void Reset() { m_buffer.clear(); }
    int Pending() const { return static_cast<int>(m_buffer.size()); }

private:
    std::vector<std::uint8_t> m_buffer;
};
