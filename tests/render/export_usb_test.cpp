// The USB disk file: header fields, padding, the readme, the folder and its failures.
#include "compile_fixture.h"

#include "model/text_zone.h"
#include "platform/drives_removable.h"
#include "render/decode_screen.h"
#include "render/export_usb.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class UsbExport : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        ASSERT_TRUE(drive.isValid());
        screen->Params().SetU8(ControllerParams::Brightness, 9);
    }
    QString FilePath() const { return drive.filePath(QStringLiteral("LUMIVANT/LED.RZU")); }
    QString ReadmePath() const { return drive.filePath(QStringLiteral("LUMIVANT/Readme.txt")); }
    ExportResult Export(const ExportOptions& options, std::uint32_t seed = 3)
    {
        CScopedRandomSeed random(seed);
        return ExportScreenData(*screen, drive.path(), options);
    }

    QTemporaryDir drive;
    RecordingMessageSink messages;
};

TEST_F(UsbExport, DataIsPaddedToWholeBlocks)
{
    CScopedRandomSeed random(1);
    CByteBuffer data;
    data.AppendFill(0xAB, 5000);
    const QByteArray file = BuildExportFile(data, *screen, ExportOptions{});
    ASSERT_EQ(file.size(), 512 + 8192);
    EXPECT_EQ(U32(file, 52), 8192u);
    EXPECT_EQ(file.mid(512, 5000), QByteArray(5000, '\xAB'));
    // Exactly one block needs no padding.
    CByteBuffer exact;
    exact.AppendFill(1, 4096);
    EXPECT_EQ(BuildExportFile(exact, *screen, ExportOptions{}).size(), 512 + 4096);
}

TEST_F(UsbExport, WrittenFileDecodesWithItsHeaderFields)
{
    AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    AddZone<CTextZone>(AddWindow({0, 0, 33, 8}, AddProgram()));
    ExportOptions options;
    options.includeParams = true;
    options.syncClock = true;
    options.adjustSeconds = 20;
    options.localNow = 1700000000;
    const ExportResult result = Export(options);
    ASSERT_EQ(result.outcome, ExportOutcome::Succeeded);
    EXPECT_EQ(result.status, QStringLiteral("Save project succeed."));
    const QByteArray file = ReadFileBytes(FilePath());
    ASSERT_EQ(file.size(), 512 + 4096);
    EXPECT_GE(U8(file, 50), 64);
    EXPECT_GE(U8(file, 51), 64);
    EXPECT_EQ(U32(file, 128), 1700000020u);
    // Program 1 needs 32 x 64 x 3 / 8 bytes of frame buffer; program 2 only 8 x 64 x 3 / 8.
    EXPECT_EQ(U32(file, 56), 768u);
    const auto& params = screen->Params().Bytes();
    EXPECT_EQ(file.mid(144, 112), QByteArray(reinterpret_cast<const char*>(params.data()), 112));

    DecodedExportFile decoded;
    QString error;
    ASSERT_TRUE(DecodeExportFile(file, 3, 1, decoded, error)) << error.toStdString();
    EXPECT_TRUE(decoded.hasScreen);
    EXPECT_EQ(decoded.screen.programCount, 2);
    EXPECT_EQ(decoded.screen.length,
              static_cast<size_t>(128 + 8 + 2 * 444 + (20 + 4 + 768) + (20 + 4 + 3 * 64)));
    EXPECT_EQ(ReadFileBytes(ReadmePath()), ExportReadmeBytes());
}

TEST_F(UsbExport, FlagsStayOnTheirSideOf64)
{
    AddZone<CTextZone>(AddWindow({0, 0, 8, 1}));
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        CScopedRandomSeed random(seed);
        CByteBuffer data;
        data.AppendFill(0, 10);
        const QByteArray off = BuildExportFile(data, *screen, ExportOptions{});
        EXPECT_LE(U8(off, 50), 64);
        EXPECT_LE(U8(off, 51), 64);
        ExportOptions on;
        on.syncClock = on.includeParams = true;
        on.localNow = 0;
        const QByteArray set = BuildExportFile(data, *screen, on);
        EXPECT_GE(U8(set, 50), 64);
        EXPECT_GE(U8(set, 51), 64);
    }
}

TEST_F(UsbExport, NothingToPlay)
{
    ExportResult result = Export(ExportOptions{});
    EXPECT_EQ(result.outcome, ExportOutcome::Empty);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], QStringLiteral("Project is empty."));
    EXPECT_FALSE(QFile::exists(FilePath()));

    // With the parameter block the header alone is written.
    ExportOptions options;
    options.includeParams = true;
    result = Export(options);
    ASSERT_EQ(result.outcome, ExportOutcome::Succeeded);
    const QByteArray file = ReadFileBytes(FilePath());
    ASSERT_EQ(file.size(), 512);
    EXPECT_EQ(U32(file, 52), 0u);
    EXPECT_EQ(U8(file, 144 + ControllerParams::Brightness), 9);
    DecodedExportFile decoded;
    QString error;
    EXPECT_TRUE(DecodeExportFile(file, 3, 1, decoded, error));
    EXPECT_FALSE(decoded.hasScreen);
}

TEST_F(UsbExport, ExistingFilesAreReplaced)
{
    AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    ASSERT_TRUE(QDir(drive.path()).mkpath(QStringLiteral("LUMIVANT")));
    ASSERT_TRUE(WriteFileBytes(FilePath(), QByteArray(100000, 'x')));
    ASSERT_TRUE(WriteFileBytes(ReadmePath(), QByteArray(1000, 'y')));
    ASSERT_EQ(Export(ExportOptions{}).outcome, ExportOutcome::Succeeded);
    EXPECT_EQ(QFileInfo(FilePath()).size(), 512 + 4096);
    EXPECT_EQ(ReadFileBytes(ReadmePath()), ExportReadmeBytes());
    // No temporary file is left behind.
    EXPECT_EQ(QDir(drive.filePath(QStringLiteral("LUMIVANT"))).entryList(QDir::Files).size(), 2);
}

TEST_F(UsbExport, FailuresReportTheirStatus)
{
    AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    // A file where the folder should be.
    ASSERT_TRUE(WriteFileBytes(drive.filePath(QStringLiteral("LUMIVANT")), "x"));
    ExportResult result = Export(ExportOptions{});
    EXPECT_EQ(result.outcome, ExportOutcome::Failed);
    EXPECT_TRUE(result.status.startsWith(QStringLiteral("Failed on create file.")))
        << result.status.toStdString();
    // A folder where the file should be.
    ASSERT_TRUE(QFile::remove(drive.filePath(QStringLiteral("LUMIVANT"))));
    ASSERT_TRUE(QDir(drive.path()).mkpath(QStringLiteral("LUMIVANT/LED.RZU")));
    result = Export(ExportOptions{});
    EXPECT_EQ(result.outcome, ExportOutcome::Failed);
    EXPECT_TRUE(result.status.startsWith(QStringLiteral("Failed on create file.")))
        << result.status.toStdString();
    // A drive that is not there.
    result = ExportScreenData(*screen, drive.filePath(QStringLiteral("gone")), ExportOptions{});
    EXPECT_EQ(result.status, QStringLiteral("Failed on create file."));
    EXPECT_FALSE(QFileInfo::exists(drive.filePath(QStringLiteral("gone"))));
    // Data far too large for the file is refused with its reason.
    CTextZone* huge = AddZone<CTextZone>(AddWindow({0, 0, 65535, 65535}, AddProgram()), 0);
    huge->Pages().push_back(nullptr);
    huge->Pages().push_back(nullptr);
    ASSERT_TRUE(QFile::remove(drive.filePath(QStringLiteral("LUMIVANT/LED.RZU"))) ||
                QDir(drive.filePath(QStringLiteral("LUMIVANT/LED.RZU"))).removeRecursively());
    result = Export(ExportOptions{});
    EXPECT_EQ(result.outcome, ExportOutcome::Failed);
    EXPECT_EQ(result.status, QStringLiteral("The screen data is too large."));
    EXPECT_TRUE(messages.texts.isEmpty());
    // No drive chosen: nothing happens.
    EXPECT_EQ(ExportScreenData(*screen, QString(), ExportOptions{}).outcome,
              ExportOutcome::Nothing);
}

TEST(UsbFlags, AGeneratorThatNeverFallsOnTheSideStillEnds)
{
    class CStuck final : public IRandomSource
    {
    public:
        int Next() override { return 0; }
    } stuck;
    SetRandomSource(&stuck);
    auto root = CProjectRoot::NewProject();
    CByteBuffer data;
    ExportOptions options;
    options.syncClock = true;
    options.localNow = 0;
    const QByteArray file =
        BuildExportFile(data, *static_cast<CScreen*>(root->GetChild(0)), options);
    SetRandomSource(nullptr);
    EXPECT_EQ(static_cast<std::uint8_t>(file[50]), 64);
    EXPECT_EQ(static_cast<std::uint8_t>(file[51]), 0);
}

TEST(UsbReadme, IsTheWarningInUtf16)
{
    const QByteArray bytes = ExportReadmeBytes();
    ASSERT_EQ(bytes.size(), 2 + 2 * 164);
    EXPECT_EQ(bytes.left(4), QByteArray("\xFF\xFEW\0", 4));
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), 164);
    EXPECT_TRUE(text.startsWith(QStringLiteral(
        "Warning: this folder saved data with Lumivant , Do not modify any data !\r\n")));
    EXPECT_EQ(text.mid(74, 61), QString(61, u'-'));
    EXPECT_TRUE(text.endsWith(
        QStringLiteral("\r\n警告，该目录内保存了显示屏播放数据，请勿修改任何内容！")));
}

TEST(RemovableDrives, OnlyRemovableReadyDevicesAreListed)
{
    QTemporaryDir sys;
    ASSERT_TRUE(sys.isValid());
    QDir root(sys.path());
    // A removable card reader partition, a fixed disk, and a USB disk that calls itself fixed.
    ASSERT_TRUE(root.mkpath(QStringLiteral("devices/pci0/block/sdb/sdb1")));
    ASSERT_TRUE(
        WriteFileBytes(root.filePath(QStringLiteral("devices/pci0/block/sdb/removable")), "1\n"));
    ASSERT_TRUE(WriteFileBytes(
        root.filePath(QStringLiteral("devices/pci0/block/sdb/sdb1/partition")), "1\n"));
    ASSERT_TRUE(root.mkpath(QStringLiteral("devices/pci0/block/sda/sda1")));
    ASSERT_TRUE(
        WriteFileBytes(root.filePath(QStringLiteral("devices/pci0/block/sda/removable")), "0\n"));
    ASSERT_TRUE(WriteFileBytes(
        root.filePath(QStringLiteral("devices/pci0/block/sda/sda1/partition")), "1\n"));
    ASSERT_TRUE(root.mkpath(QStringLiteral("devices/pci0/usb2/block/sdc")));
    ASSERT_TRUE(WriteFileBytes(
        root.filePath(QStringLiteral("devices/pci0/usb2/block/sdc/removable")), "0\n"));
    ASSERT_TRUE(root.mkpath(QStringLiteral("class/block")));
    const auto link = [&](const QString& name, const QString& target) {
        ASSERT_TRUE(QFile::link(root.filePath(target),
                                root.filePath(QStringLiteral("class/block/") + name)));
    };
    link(QStringLiteral("sdb1"), QStringLiteral("devices/pci0/block/sdb/sdb1"));
    link(QStringLiteral("sda1"), QStringLiteral("devices/pci0/block/sda/sda1"));
    link(QStringLiteral("sdc"), QStringLiteral("devices/pci0/usb2/block/sdc"));

    std::vector<MountedVolume> volumes = {
        {QStringLiteral("/"), QStringLiteral("/dev/sda1"), QString(), QStringLiteral("ext4"),
         1LL << 34, true},
        {QStringLiteral("/media/CARD"), QStringLiteral("/dev/sdb1"), QStringLiteral("CARD"),
         QStringLiteral("vfat"), 3LL << 30, true},
        {QStringLiteral("/media/STICK"), QStringLiteral("/dev/sdc"), QStringLiteral("STICK"),
         QStringLiteral("exfat"), (64LL << 20) + 5, true},
        {QStringLiteral("/media/GONE"), QStringLiteral("/dev/sdb1"), QStringLiteral("GONE"),
         QStringLiteral("vfat"), 1LL << 30, false},
        {QStringLiteral("/proc"), QStringLiteral("proc"), QString(), QStringLiteral("proc"), 0,
         true},
    };
    const auto drives = FilterRemovableDrives(volumes, sys.path());
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(DriveLine(drives[0]), QStringLiteral("/media/CARD CARD - [3072MB vfat]"));
    EXPECT_EQ(DriveLine(drives[1]), QStringLiteral("/media/STICK STICK - [64MB exfat]"));
}
