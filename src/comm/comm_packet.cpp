#include "comm/comm_packet.h"

#include "base/string_table.h"

#include <cstdlib>
#include <cstring>

namespace {

RandomByteSource g_randomSource = nullptr;

std::uint8_t Key(int index, std::uint8_t key)
{
    if (index & 1)
        return static_cast<std::uint8_t>(index + key + 1);
    return static_cast<std::uint8_t>((index + 5) * key);
}

void PutU16(std::uint8_t* at, unsigned value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

unsigned GetU16(const std::uint8_t* at)
{
    return at[0] | (static_cast<unsigned>(at[1]) << 8);
}

} // namespace

std::uint16_t Sum16(const std::uint8_t* bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint16_t>(sum);
}

void ScrambleFrame(std::uint8_t* frame, int length)
{
    if (length < 3)
        return;
    const std::uint8_t key = frame[2];
    for (int i = 0; i < length; ++i) {
        if (i != 2)
            frame[i] ^= Key(i, key);
    }
}

void SetRandomByteSource(RandomByteSource source)
{
    g_randomSource = source;
}

int NextRandom()
{
    return g_randomSource ? g_randomSource() : (std::rand() & 0x7FFF);
}

CCommPacket::CCommPacket(int command, int param1, int param2, int address,
                         const std::uint8_t* payload, int payloadLength)
{
    if (payloadLength < 0 || (payloadLength > 0 && !payload))
        payloadLength = 0;
    const int length = payloadLength + 12;
    m_bytes.assign(static_cast<size_t>(length), 0);
    std::uint8_t* frame = m_bytes.data();
    const auto key = static_cast<std::uint8_t>(NextRandom());
    PutU16(frame, static_cast<unsigned>(length));
    frame[2] = key;
    frame[3] = static_cast<std::uint8_t>(command);
    frame[4] = static_cast<std::uint8_t>(param1);
    frame[5] = static_cast<std::uint8_t>(param2);
    PutU16(frame + 6, static_cast<unsigned>(address));
    if (payloadLength > 0)
        std::memcpy(frame + 8, payload, static_cast<size_t>(payloadLength));
    const auto salt = static_cast<std::uint8_t>(NextRandom());
    frame[8 + payloadLength] = static_cast<std::uint8_t>(key - salt);
    frame[9 + payloadLength] = salt;
    PutU16(frame + length - 2, Sum16(frame, length - 2));
    ScrambleFrame(frame, length);
}

CCommPacket::CCommPacket(int command, int address) : CCommPacket(command, 0, 0, address, nullptr, 0)
{}

CCommReply::CCommReply(const std::uint8_t* bytes, int length)
{
    if (bytes && length > 0)
        m_bytes.assign(bytes, bytes + length);
}

ReplyCheck CheckReply(const std::uint8_t* bytes, int length)
{
    if (!bytes || length < 12)
        return ReplyCheck::TooShort;
    if (bytes[2] != 0x0A || bytes[length - 3] != 0x05)
        return ReplyCheck::BadFrame;
    if (Sum16(bytes, length - 2) != GetU16(bytes + length - 2))
        return ReplyCheck::BadChecksum;
    if (bytes[3] != 0)
        return ReplyCheck::ErrorClass;
    if (bytes[4] != 0)
        return ReplyCheck::Status;
    return ReplyCheck::Ok;
}

int ReplyStatusMessageId(int status)
{
    switch (status) {
    case 0:
        return 0;
    case 1:
        return 43016;
    case 2:
        return 43017;
    case 3:
        return 43018;
    case 4:
        return 43019;
    case 5:
        return 43020;
    case 6:
        return 43021;
    case 7:
        return 43022;
    case 8:
        return 43023;
    case 9:
        return 43029;
    case 12:
        return 43032;
    case 15:
        return 43025;
    case 16:
        return 43026;
    default:
        return 43024;
    }
}

QString ReplyCheckText(ReplyCheck check, const std::uint8_t* bytes, int length)
{
    switch (check) {
    case ReplyCheck::BadFrame:
        return LoadString(43008);
    case ReplyCheck::BadChecksum:
        return LoadString(43009);
    case ReplyCheck::ErrorClass:
        return LoadString(43010);
    case ReplyCheck::Status:
        return length > 4 ? LoadString(ReplyStatusMessageId(bytes[4])) : QString();
    case ReplyCheck::TooShort:
    case ReplyCheck::Ok:
        break;
    }
    return {};
}

int RequestAnnouncedLength(const std::uint8_t* bytes)
{
    const std::uint8_t key = bytes[2];
    return static_cast<std::uint8_t>(bytes[0] ^ Key(0, key)) |
           (static_cast<std::uint8_t>(bytes[1] ^ Key(1, key)) << 8);
}

RequestCheck ParseRequest(const std::uint8_t* bytes, int length, ParsedRequest& request)
{
    if (!bytes || length < 12)
        return RequestCheck::TooShort;
    if (length > 0xFFFF || RequestAnnouncedLength(bytes) != length)
        return RequestCheck::BadLength;
    std::vector<std::uint8_t> plain(bytes, bytes + length);
    ScrambleFrame(plain.data(), length);
    if (Sum16(plain.data(), length - 2) != GetU16(plain.data() + length - 2))
        return RequestCheck::BadChecksum;
    const int payloadLength = length - 12;
    if (static_cast<std::uint8_t>(plain[8 + payloadLength] + plain[9 + payloadLength]) != plain[2])
        return RequestCheck::BadTrailer;
    request.command = plain[3];
    request.param1 = plain[4];
    request.param2 = plain[5];
    request.address = static_cast<int>(GetU16(plain.data() + 6));
    request.payload.assign(plain.begin() + 8, plain.begin() + 8 + payloadLength);
    return RequestCheck::Ok;
}

std::vector<std::uint8_t> BuildReply(int status, const std::uint8_t* payload, int payloadLength)
{
    if (payloadLength < 0 || (payloadLength > 0 && !payload))
        payloadLength = 0;
    const int length = payloadLength + 12;
    std::vector<std::uint8_t> frame(static_cast<size_t>(length), 0);
    PutU16(frame.data(), static_cast<unsigned>(length));
    frame[2] = 0x0A;
    frame[4] = static_cast<std::uint8_t>(status);
    if (payloadLength > 0)
        std::memcpy(frame.data() + 8, payload, static_cast<size_t>(payloadLength));
    frame[length - 3] = 0x05;
    PutU16(frame.data() + length - 2, Sum16(frame.data(), length - 2));
    return frame;
}
