// Request frames, reply checks and the request parser, against frames computed by hand.
#include "comm/comm_packet.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> g_sequence;
size_t g_next = 0;
int Sequence()
{
    return g_sequence[g_next++ % g_sequence.size()];
}

class CodecTest : public testing::Test
{
protected:
    void UseRandom(std::vector<int> values)
    {
        g_sequence = std::move(values);
        g_next = 0;
        SetRandomByteSource(Sequence);
    }
    void TearDown() override { SetRandomByteSource(nullptr); }

    static QByteArray Hex(const std::uint8_t* bytes, int length)
    {
        return QByteArray(reinterpret_cast<const char*>(bytes), length).toHex(' ');
    }
};

std::vector<std::uint8_t> FromHex(const char* text)
{
    const QByteArray bytes = QByteArray::fromHex(QByteArray(text));
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

TEST_F(CodecTest, Sum16OfAbc)
{
    const std::uint8_t abc[] = {0x61, 0x62, 0x63};
    EXPECT_EQ(Sum16(abc, 3), 0x0126);
    EXPECT_EQ(Sum16(abc, 0), 0);
    EXPECT_EQ(Sum16(abc, -4), 0);
    std::vector<std::uint8_t> many(300, 0xFF); // 300 × 255 = 76500, wraps past 65535
    EXPECT_EQ(Sum16(many.data(), 300), 76500 % 65536);
}

TEST_F(CodecTest, IdentifyRequestWithoutPayload)
{
    // key 0x10, salt 0x03. Plain: 0c 00 10 12 00 00 01 00 | 0d 03 | 3f 00
    // keys: even (i+5)*0x10, odd i+0x11.
    UseRandom({0x10, 0x03});
    const CCommPacket packet(18, 1);
    ASSERT_EQ(packet.GetLength(), 12);
    EXPECT_EQ(Hex(packet.GetData(), 12), QByteArray("5c 12 10 06 90 16 b1 18 dd 19 cf 1c"));
}

TEST_F(CodecTest, TimeSyncRequestWithPayload)
{
    // key 0x01, salt 0x02; payload 80 51 01 00 00 00 00 00 (one day).
    // Plain: 14 00 01 25 00 00 01 00 | 80 51 01 00 00 00 00 00 | ff 02 | 0e 02
    UseRandom({0x01, 0x02});
    const std::uint8_t payload[] = {0x80, 0x51, 0x01, 0, 0, 0, 0, 0};
    const CCommPacket packet(37, 0, 0, 1, payload, 8);
    ASSERT_EQ(packet.GetLength(), 20);
    EXPECT_EQ(Hex(packet.GetData(), 20),
              QByteArray("11 03 01 20 09 07 0a 09 8d 5a 0e 0d 11 0f 13 11 ea 11 19 17"));
}

TEST_F(CodecTest, ScrambleIsItsOwnInverseAndKeepsTheKeyByte)
{
    UseRandom({0xA7, 0x5E});
    const std::uint8_t payload[] = {1, 2, 3, 4, 5};
    const CCommPacket packet(32, 4, 9, 0x1234, payload, 5);
    std::vector<std::uint8_t> plain(packet.GetData(), packet.GetData() + packet.GetLength());
    EXPECT_EQ(plain[2], 0xA7);
    ScrambleFrame(plain.data(), static_cast<int>(plain.size()));
    EXPECT_EQ(plain[0], 17);
    EXPECT_EQ(plain[3], 32);
    EXPECT_EQ(plain[4], 4);
    EXPECT_EQ(plain[5], 9);
    EXPECT_EQ(plain[6], 0x34);
    EXPECT_EQ(plain[7], 0x12);
    // The trailer bytes add up to the key; the checksum covers them but not itself.
    EXPECT_EQ(static_cast<std::uint8_t>(plain[13] + plain[14]), 0xA7);
    EXPECT_EQ(plain[14], 0x5E);
    EXPECT_EQ(Sum16(plain.data(), 15), plain[15] | (plain[16] << 8));
    ScrambleFrame(plain.data(), static_cast<int>(plain.size()));
    EXPECT_EQ(std::vector<std::uint8_t>(packet.GetData(), packet.GetData() + 17), plain);
}

TEST_F(CodecTest, ParseRequestReadsWhatThePacketCarries)
{
    UseRandom({0x33, 0xF0});
    const std::uint8_t payload[] = {9, 8, 7};
    const CCommPacket packet(19, 1, 2, 513, payload, 3);
    ParsedRequest request;
    ASSERT_EQ(ParseRequest(packet.GetData(), packet.GetLength(), request), RequestCheck::Ok);
    EXPECT_EQ(request.command, 19);
    EXPECT_EQ(request.param1, 1);
    EXPECT_EQ(request.param2, 2);
    EXPECT_EQ(request.address, 513);
    EXPECT_EQ(request.payload, (std::vector<std::uint8_t>{9, 8, 7}));
    EXPECT_EQ(RequestAnnouncedLength(packet.GetData()), 15);
}

TEST_F(CodecTest, ParseRequestRefusesDamagedFrames)
{
    UseRandom({0x44, 0x12});
    const CCommPacket packet(33, 1);
    std::vector<std::uint8_t> frame(packet.GetData(), packet.GetData() + 12);
    ParsedRequest request;

    EXPECT_EQ(ParseRequest(frame.data(), 11, request), RequestCheck::TooShort);
    EXPECT_EQ(ParseRequest(nullptr, 12, request), RequestCheck::TooShort);

    std::vector<std::uint8_t> longer = frame;
    longer.push_back(0);
    EXPECT_EQ(ParseRequest(longer.data(), 13, request), RequestCheck::BadLength);

    std::vector<std::uint8_t> flipped = frame;
    flipped[5] ^= 0x01;
    EXPECT_EQ(ParseRequest(flipped.data(), 12, request), RequestCheck::BadChecksum);

    // Trailer bytes that no longer add up to the key, under a correct checksum.
    std::vector<std::uint8_t> plain = frame;
    ScrambleFrame(plain.data(), 12);
    plain[8] += 1;
    const std::uint16_t sum = Sum16(plain.data(), 10);
    plain[10] = static_cast<std::uint8_t>(sum);
    plain[11] = static_cast<std::uint8_t>(sum >> 8);
    ScrambleFrame(plain.data(), 12);
    EXPECT_EQ(ParseRequest(plain.data(), 12, request), RequestCheck::BadTrailer);
}

class ReplyCheckTest : public testing::Test
{
protected:
    // 0c 00 0a 00 00 00 00 00 00 05 1b 00: an empty, successful reply written by hand.
    std::vector<std::uint8_t> ok;
    void SetUp() override
    {
        ok = FromHex("0c000a00000000000005"
                     "1b00");
    }

    static void Resum(std::vector<std::uint8_t>& reply)
    {
        const int length = static_cast<int>(reply.size());
        const std::uint16_t sum = Sum16(reply.data(), length - 2);
        reply[length - 2] = static_cast<std::uint8_t>(sum);
        reply[length - 1] = static_cast<std::uint8_t>(sum >> 8);
    }
};

TEST_F(ReplyCheckTest, HandWrittenReplyPasses)
{
    ASSERT_EQ(ok.size(), 12u);
    EXPECT_EQ(CheckReply(ok.data(), 12), ReplyCheck::Ok);
    EXPECT_EQ(BuildReply(0, nullptr, 0), ok);
    const CCommReply reply(ok.data(), 12);
    EXPECT_EQ(reply.GetPayloadLength(), 0);
    EXPECT_EQ(reply.GetTrailer()[1], 0x05);
    EXPECT_EQ(reply.GetTrailer()[2], 0x1b);
}

TEST_F(ReplyCheckTest, ChecksRunInOrder)
{
    EXPECT_EQ(CheckReply(ok.data(), 11), ReplyCheck::TooShort);

    auto marker = ok;
    marker[2] = 0x0B;
    marker[11] = 0xFF; // checksum also wrong: the marker is reported first
    EXPECT_EQ(CheckReply(marker.data(), 12), ReplyCheck::BadFrame);
    EXPECT_EQ(ReplyCheckText(ReplyCheck::BadFrame, marker.data(), 12),
              QStringLiteral("Failed on send data."));

    auto trailer = ok;
    trailer[9] = 0x06;
    Resum(trailer);
    EXPECT_EQ(CheckReply(trailer.data(), 12), ReplyCheck::BadFrame);

    auto checksum = ok;
    checksum[3] = 3; // error class too: the checksum is reported first
    EXPECT_EQ(CheckReply(checksum.data(), 12), ReplyCheck::BadChecksum);
    EXPECT_EQ(ReplyCheckText(ReplyCheck::BadChecksum, checksum.data(), 12),
              QStringLiteral("Data bad."));

    auto errorClass = ok;
    errorClass[3] = 3;
    errorClass[4] = 15; // status not looked at
    Resum(errorClass);
    EXPECT_EQ(CheckReply(errorClass.data(), 12), ReplyCheck::ErrorClass);
    EXPECT_EQ(ReplyCheckText(ReplyCheck::ErrorClass, errorClass.data(), 12),
              QStringLiteral("Unknow error."));
}

TEST_F(ReplyCheckTest, StatusTexts)
{
    const struct
    {
        int status;
        const char* text;
    } cases[] = {
        {1, "Error at checksum."},
        {2, "Unknow command."},
        {3, "Unsupported command."},
        {4, "Parameter error."},
        {5, "Bad data."},
        {6, "Command failed."},
        {7, "Too large the Width."},
        {8, "Too large the Height."},
        {9, "Too large width or height."},
        {10, "Unknow error."},
        {12, "Low power, Please restart the Panel."},
        {13, "Unknow error."},
        {15, "Too many Messages."},
        {16, "Too many the Programs."},
        {17, "Unknow error."},
        {255, "Unknow error."},
    };
    for (const auto& c : cases) {
        const auto reply = BuildReply(c.status, nullptr, 0);
        ASSERT_EQ(CheckReply(reply.data(), 12), ReplyCheck::Status) << c.status;
        EXPECT_EQ(ReplyCheckText(ReplyCheck::Status, reply.data(), 12), QString::fromLatin1(c.text))
            << c.status;
    }
}

TEST_F(ReplyCheckTest, PayloadAccessors)
{
    const std::uint8_t five[] = {0x91, 0x01, 0, 5, 1};
    const auto frame = BuildReply(0, five, 5);
    ASSERT_EQ(frame.size(), 17u);
    const CCommReply reply(frame.data(), 17);
    EXPECT_EQ(reply.GetPayloadLength(), 5);
    EXPECT_EQ(reply.GetPayload()[0], 0x91);
    EXPECT_EQ(reply.GetBytes()[0], 17);
    EXPECT_EQ(CheckReply(frame.data(), 17), ReplyCheck::Ok);
}
