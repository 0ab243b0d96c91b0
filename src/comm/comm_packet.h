#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The request and reply frames exchanged with a controller card.
//
// Request (12 + N bytes, scrambled except byte 2):
//   0 length (u16) | 2 key byte | 3 command | 4 param1 | 5 param2 | 6 address (u16)
//   8 payload (N) | 8+N salt check | 9+N salt | 10+N Sum16 over bytes 0..9+N
// Reply (12 + M bytes, in clear):
//   0 length | 2 marker 0x0A | 3 error class | 4 status | 5..7 | 8 payload (M)
//   L-4 | L-3 trailer mark 0x05 | L-2 Sum16 over bytes 0..L-3

// Sum of the bytes as unsigned values, modulo 65536; 0 for a count of 0 or less.
std::uint16_t Sum16(const std::uint8_t* bytes, int count);

// XORs every byte except byte 2 with the key derived from byte 2. Its own inverse.
void ScrambleFrame(std::uint8_t* frame, int length);

// The source of the frames' random bytes. Tests may install a fixed sequence.
using RandomByteSource = int (*)();
void SetRandomByteSource(RandomByteSource source); // nullptr: the default generator
int NextRandom();                                  // 0..32767

// An outgoing request, built, checksummed and scrambled by its constructor.
class CCommPacket
{
public:
    CCommPacket(int command, int param1, int param2, int address, const std::uint8_t* payload,
                int payloadLength);
    CCommPacket(int command, int address);
    CCommPacket(const CCommPacket&) = delete;
    CCommPacket& operator=(const CCommPacket&) = delete;

    int GetLength() const { return static_cast<int>(m_bytes.size()); }
    const std::uint8_t* GetData() const { return m_bytes.data(); }

private:
    std::vector<std::uint8_t> m_bytes;
};

// A private copy of a received reply.
class CCommReply
{
public:
    CCommReply(const std::uint8_t* bytes, int length);
    CCommReply(const CCommReply&) = delete;
    CCommReply& operator=(const CCommReply&) = delete;

    int GetLength() const { return static_cast<int>(m_bytes.size()); }
    const std::uint8_t* GetBytes() const { return m_bytes.data(); }
    const std::uint8_t* GetPayload() const { return m_bytes.data() + 8; }
    int GetPayloadLength() const { return GetLength() - 12; }
    const std::uint8_t* GetTrailer() const { return m_bytes.data() + GetLength() - 4; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// The outcome of checking a reply frame, in the order the checks run.
enum class ReplyCheck {
    TooShort,    // fewer than 12 bytes: a transport failure
    BadFrame,    // marker or trailer mark wrong: 43008
    BadChecksum, // 43009
    ErrorClass,  // byte 3 not 0: 43010
    Status,      // byte 4 not 0: the status table
    Ok,
};
ReplyCheck CheckReply(const std::uint8_t* bytes, int length);

// The string-table number of a reply status (0 for success, 43024 for unknown ones).
int ReplyStatusMessageId(int status);
// The text of a failed check (empty for Ok and TooShort).
QString ReplyCheckText(ReplyCheck check, const std::uint8_t* bytes, int length);

// A request as a controller reads it: unscrambled and checked.
struct ParsedRequest
{
    int command = 0;
    int param1 = 0;
    int param2 = 0;
    int address = 0;
    std::vector<std::uint8_t> payload;
};
enum class RequestCheck { Ok, TooShort, BadLength, BadChecksum, BadTrailer };
// Checks a received request of exactly `length` bytes; fills `request` when Ok.
RequestCheck ParseRequest(const std::uint8_t* bytes, int length, ParsedRequest& request);
// The length a scrambled request announces in its first three bytes (needs 3 bytes).
int RequestAnnouncedLength(const std::uint8_t* bytes);

// Builds a reply frame as a controller does (used by the simulator and by tests).
std::vector<std::uint8_t> BuildReply(int status, const std::uint8_t* payload, int payloadLength);
