// The firmware update over a recorded link: order of the commands, the scrambled stream,
// failures on the way, and the small computations of the procedure.
#include "comm/firmware_packer.h"
#include "comm/firmware_update.h"

#include "base/string_table.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <vector>

namespace {

constexpr std::array<std::uint8_t, 5> kIdentity = {12, 5, 2, 0, 1};

class FakeFirmwareLink final : public IFirmwareLink
{
public:
    bool ReadParameters() override
    {
        calls.push_back("read");
        return readOk;
    }
    std::array<std::uint8_t, 5> Identity() const override { return kIdentity; }
    bool IsNetworkLink() const override { return network; }
    bool QueryFirmware(std::uint8_t& reply) override
    {
        calls.push_back("query");
        reply = queryReply;
        return queryOk;
    }
    bool OpenLink() override
    {
        calls.push_back("open");
        return true;
    }
    void CloseLink() override { calls.push_back("close"); }
    bool SendChunk(std::uint32_t offset, std::span<const std::uint8_t> bytes) override
    {
        calls.push_back("chunk");
        if (int(offsets.size()) + 1 == failAtChunk)
            return false;
        offsets.push_back(offset);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
        return true;
    }
    bool SwitchFirmwareMode(bool on) override
    {
        calls.push_back(on ? "on" : "off");
        return switchOk;
    }
    QString ErrorText() const override { return QStringLiteral("Timeout."); }

    bool readOk = true;
    bool queryOk = true;
    bool switchOk = true;
    bool network = false;
    std::uint8_t queryReply = 0x34;
    int failAtChunk = 0; // 1-based; 0 never
    std::vector<std::string> calls;
    std::vector<std::uint32_t> offsets;
    std::vector<std::uint8_t> stream;
};

class RecordingView final : public IFirmwareUpdateView
{
public:
    void SetStatus(const QString& text) override { statuses.append(text); }
    void Wait(int milliseconds) override { waits.push_back(milliseconds); }
    QStringList statuses;
    std::vector<int> waits;
};

class FirmwareUpdateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguage(Language::English);
        ASSERT_TRUE(m_dir.isValid());
        m_image = QByteArray(1001, '\0');
        for (int i = 0; i < m_image.size(); ++i)
            m_image[i] = char(i * 13 + 1);
        QByteArray package;
        QString error;
        ASSERT_TRUE(BuildFirmwarePackage(m_image, {12, 5}, QStringLiteral("pw"), package, error));
        m_path = m_dir.filePath(QStringLiteral("fw.rzbin"));
        ASSERT_TRUE(WriteFileBytes(m_path, package.left(1001)));
    }

    bool Run(const QString& password = QStringLiteral("pw"), int pkg = 256)
    {
        return RunFirmwareUpdate(m_link, m_view, m_path, password, pkg);
    }

    QTemporaryDir m_dir;
    QByteArray m_image;
    QString m_path;
    FakeFirmwareLink m_link;
    RecordingView m_view;
    RecordingMessageSink m_messages;
};

TEST_F(FirmwareUpdateTest, StreamsTheScrambledImageAndSwitchesTheModeOn)
{
    ASSERT_TRUE(Run());
    const std::vector<std::string> expected = {"read",  "query", "open",  "chunk", "chunk",
                                               "chunk", "chunk", "close", "on"};
    EXPECT_EQ(m_link.calls, expected);
    EXPECT_EQ(m_link.offsets, (std::vector<std::uint32_t>{0, 256, 512, 768}));
    ASSERT_EQ(m_link.stream.size(), 1008u);
    // Length 1008 in front, everything XOR 0x04 (reply 0x34).
    EXPECT_EQ(m_link.stream[0], 0xF0 ^ 0x04);
    EXPECT_EQ(m_link.stream[1], 0x03 ^ 0x04);
    EXPECT_EQ(m_link.stream[2], 0x04);
    EXPECT_EQ(m_link.stream[3], 0x04);
    for (int i = 66; i < 1000; ++i)
        ASSERT_EQ(m_link.stream[i], std::uint8_t(m_image[i] ^ 0x04)) << i;

    EXPECT_EQ(m_view.statuses.first(), QStringLiteral("Processing: 25%..."));
    EXPECT_TRUE(m_view.statuses.contains(QStringLiteral("Processing: 100%...")));
    EXPECT_EQ(m_view.statuses.at(m_view.statuses.size() - 2), QStringLiteral("Waiting..."));
    EXPECT_EQ(m_view.statuses.last(), QStringLiteral("Finish."));
    // A serial link pauses 20 ms after every chunk; then 1000 + 1008 / 20 ms.
    EXPECT_EQ(m_view.waits, (std::vector<int>{20, 20, 20, 20, 1050}));
    EXPECT_TRUE(m_messages.texts.isEmpty());
}

TEST_F(FirmwareUpdateTest, NetworkLinkUsesAtLeast256ByteChunksWithoutPauses)
{
    m_link.network = true;
    ASSERT_TRUE(Run(QStringLiteral("pw"), 64));
    EXPECT_EQ(m_link.offsets.size(), 4u);
    EXPECT_EQ(m_view.waits, (std::vector<int>{1050}));

    FakeFirmwareLink serial;
    RecordingView view;
    ASSERT_TRUE(RunFirmwareUpdate(serial, view, m_path, QStringLiteral("pw"), 64));
    EXPECT_EQ(serial.offsets.size(), 16u);
}

TEST_F(FirmwareUpdateTest, FailureAtTheThirdChunkStillSwitchesTheModeOff)
{
    m_link.failAtChunk = 3;
    EXPECT_FALSE(Run());
    const std::vector<std::string> expected = {"read",  "query", "open",  "chunk",
                                               "chunk", "chunk", "close", "off"};
    EXPECT_EQ(m_link.calls, expected);
    EXPECT_TRUE(m_view.statuses.contains(QStringLiteral("Failed on send data.Timeout.")));
    EXPECT_EQ(m_view.statuses.last(), QStringLiteral("Finish."));
}

TEST_F(FirmwareUpdateTest, FailedQueryStopsBeforeStreaming)
{
    m_link.queryOk = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(m_link.calls, (std::vector<std::string>{"read", "query"}));
    EXPECT_EQ(m_view.statuses, QStringList{QStringLiteral("Failed on send data.Timeout.")});
}

TEST_F(FirmwareUpdateTest, FailedModeSwitchIsReported)
{
    m_link.switchOk = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(m_view.statuses.last(), QStringLiteral("Failed on send data.Timeout."));
    EXPECT_FALSE(m_view.statuses.contains(QStringLiteral("Finish.")));
}

TEST_F(FirmwareUpdateTest, ParameterReadFailureAndBadPackagesAreMessages)
{
    m_link.readOk = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(m_messages.texts, QStringList{QStringLiteral("Command failed:Timeout.")});
    EXPECT_EQ(m_link.calls, (std::vector<std::string>{"read"}));

    m_link.readOk = true;
    m_link.calls.clear();
    m_messages.texts.clear();
    EXPECT_FALSE(Run(QStringLiteral("wrong")));
    EXPECT_EQ(m_messages.texts, QStringList{QStringLiteral("Bad file.")});
    EXPECT_EQ(m_link.calls, (std::vector<std::string>{"read"}));

    m_messages.texts.clear();
    EXPECT_FALSE(Run(QString()));
    EXPECT_EQ(m_messages.texts, QStringList{QStringLiteral("Must input a password.")});
    EXPECT_TRUE(m_link.stream.empty());
}

TEST(FirmwareUpdateSteps, ChunkSizeFollowsThePkgSetting)
{
    EXPECT_EQ(FirmwareChunkSize(64, false), 64);
    EXPECT_EQ(FirmwareChunkSize(256, false), 256);
    EXPECT_EQ(FirmwareChunkSize(100, false), 128);
    EXPECT_EQ(FirmwareChunkSize(512, false), 128);
    EXPECT_EQ(FirmwareChunkSize(100, true), 256);
    EXPECT_EQ(FirmwareChunkSize(64, true), 256);
}

TEST(FirmwareUpdateSteps, ProgressAndWaitDoNotOverflowOnLargeImages)
{
    SetLanguage(Language::English);
    EXPECT_EQ(FirmwareProgressText(504, 1008), QStringLiteral("Processing: 50%..."));
    // 60 MiB × 100 does not fit 32 bits.
    EXPECT_EQ(FirmwareProgressText(60LL << 20, 64LL << 20), QStringLiteral("Processing: 93%..."));
    EXPECT_EQ(FirmwareProgressText(0, 0), QStringLiteral("Processing: 0%..."));
    EXPECT_EQ(FirmwareSettleTimeMs(1008), 1050);
    EXPECT_EQ(FirmwareSettleTimeMs(64LL << 20), 1000 + (64LL << 20) / 20);
}

TEST(FirmwareUpdateSteps, CommandFieldsPairUp)
{
    std::uint32_t seed = 0;
    const FirmwareRandom random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) & 0x7FFF);
    };
    for (int i = 0; i < 200; ++i) {
        const FirmwareCommandFields query = FirmwareQueryFields(random);
        EXPECT_EQ(std::uint8_t(query.param1 + query.param2), 0xAA);
        EXPECT_EQ(std::uint8_t(query.payload[0] + query.payload[1]), 0x55);
        EXPECT_EQ(std::uint8_t(query.payload[3] - query.payload[2]), 0x55);

        const FirmwareCommandFields on = FirmwareModeSwitchFields(true, random);
        EXPECT_GE(on.param1, 100);
        EXPECT_LE(on.param1, 148);
        EXPECT_EQ(std::uint8_t(on.param1 + on.param2), 0xAA);
        const FirmwareCommandFields off = FirmwareModeSwitchFields(false, random);
        EXPECT_LE(off.param1, 48);
        EXPECT_EQ(std::uint8_t(off.param1 + off.param2), 0xAA);
        EXPECT_EQ(std::uint8_t(off.payload[0] + off.payload[1]), 0x55);
    }
    const FirmwareRandom fixed = [] { return 0x7FFF; };
    EXPECT_EQ(FirmwareModeSwitchFields(true, fixed).param1, 100 + 0x7FFF % 49);
}

} // namespace
