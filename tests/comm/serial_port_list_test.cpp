// The serial port list of the communication setup and of lumivant-cli ports.
#include "comm/serial_port_list.h"
#include "platform/serial_devices.h"
#include "support/test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SerialPortList, LabelsSayWhatIsKnown)
{
    SerialPortEntry adapter{3, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"),
                            QStringLiteral("FTDI"), QStringLiteral("A50285BI")};
    EXPECT_EQ(adapter.Label(),
              QStringLiteral("COM3  /dev/ttyUSB0  FT232R USB UART (FTDI), serial A50285BI"));
    SerialPortEntry bare{1, QStringLiteral("/dev/ttyS0")};
    EXPECT_EQ(bare.Label(), QStringLiteral("COM1  /dev/ttyS0"));
    bare.serialNumber = QStringLiteral("42");
    EXPECT_EQ(bare.Label(), QStringLiteral("COM1  /dev/ttyS0  serial 42"));
}

TEST(SerialPortList, BoundDevicesComeFirstWithTheirNumbers)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("line"));
    ASSERT_TRUE(WriteFileBytes(device, {}));
    BindSerialDevice(77, device);
    const std::vector<SerialPortEntry> ports = ListSerialPorts();
    BindSerialDevice(77, QString());
    ASSERT_FALSE(ports.empty());
    EXPECT_EQ(ports.front().number, 77);
    EXPECT_EQ(ports.front().device, device);
    EXPECT_TRUE(ports.front().description.isEmpty());

    const CliRun run = RunCli({QStringLiteral("ports")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.isEmpty());
}
